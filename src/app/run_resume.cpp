#include "app/run_resume.h"

#include "app/batch_run.h"
#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/file_names.h"

#include <algorithm>
#include <ctime>

namespace {

// Removes the journal when path still leads to the file that was read.
void RemoveJournal(const std::string& path, const TFileId& id) {
    if (FileIdAt(path) == id) {
        DeleteFile(path);
    }
}

} // namespace

TJournalFinding FindJournal(const std::string& path, const TRunSettings& settings) {
    TJournalFinding finding;
    std::optional<TFile> file = TFile::OpenRegular(path);
    if (!file) {
        return finding;
    }
    finding.Id = file->Id();
    finding.Content = ReadJournal(BytesOf(*file), file->Size());
    const TJournalContent& content = finding.Content;
    if (content.State != TJournalContent::Usable) {
        file.reset();
        finding.Kind = TJournalFinding::SetAside;
        finding.Kept = SetAsideDamaged(path);
        return finding;
    }
    if (content.Ended || !content.HasRun) {
        file.reset();
        RemoveJournal(path, finding.Id);
        return finding;
    }
    finding.Done = content.Finished.size();
    finding.Total = finding.Done + content.Pending().size();
    if (content.Settings == settings) {
        finding.Kind = TJournalFinding::Unfinished;
        return finding;
    }
    file.reset();
    finding.Kind = TJournalFinding::OtherSettings;
    finding.Kept = KeepUnfinishedRun(path, settings.OutputFile, finding);
    return finding;
}

std::string KeepUnfinishedRun(const std::string& path, const std::string& outputFile,
                              const TJournalFinding& finding) {
    std::string kept;
    {
        std::optional<TFile> file = TFile::OpenRegular(path);
        if (!file || file->Id() != finding.Id) {
            throw EInOutError(0, path);
        }
        if (!finding.Content.Finished.empty()) {
            kept = KeepUnfinishedReport(
                outputFile, finding.Content.LastTime, [&](const TSectionTaker& take) {
                    ReadJournal(BytesOf(*file), finding.Content.WholeLength, take);
                });
        }
    }
    RemoveJournal(path, finding.Id);
    return kept;
}
