#include "app/check_record.h"

#include "app/record_file.h"
#include "platform/exceptions.h"

namespace {

constexpr std::string_view Name = "checks";

std::optional<std::pair<std::string, TCheckedPage>> ParsePage(std::string_view payload) {
    TFields fields(payload);
    std::string_view finished, path, size, modified, hash, checker, open, close;
    if (!fields.Take({&finished, &path, &size, &modified, &hash, &checker, &open, &close}) ||
        !fields.AtEnd() || !NumberOf<std::int64_t>(finished)) {
        return std::nullopt;
    }
    const auto sizeValue = NumberOf<std::uint64_t>(size);
    const auto modifiedValue = NumberOf<std::int64_t>(modified);
    const auto hashValue = NumberOf<std::uint64_t>(hash, 16);
    if (!sizeValue || !modifiedValue || !hashValue) {
        return std::nullopt;
    }
    return std::pair(std::string(path), TCheckedPage{{*sizeValue, *modifiedValue, *hashValue},
                                                     std::string(checker),
                                                     std::string(open),
                                                     std::string(close)});
}

std::string PageRecord(std::int64_t finished, const std::string& path, const TCheckedPage& page) {
    std::string payload;
    AddField(payload, std::to_string(finished));
    AddField(payload, path);
    AddField(payload, std::to_string(page.Fingerprint.Size));
    AddField(payload, std::to_string(page.Fingerprint.ModifiedTime));
    AddField(payload, Hex(page.Fingerprint.Hash, 16));
    AddField(payload, page.Checker);
    AddField(payload, page.OpenParen);
    AddField(payload, page.CloseParen);
    return FormatRecord("page", payload);
}

} // namespace

std::string CheckRecordPathFor(const std::string& outputFile) {
    return outputFile + ".checks";
}

TCheckRecord LoadCheckRecord(const std::string& path) {
    TCheckRecord record;
    std::optional<TFile> file = TFile::OpenRegular(path);
    if (!file) {
        return record;
    }
    record.Id = file->Id();
    // Read whole, since it is small beside the pages it records: a read for each record would
    // cost more than the records.
    const std::string bytes = file->ReadExactly(file->Size());
    const TRecordBytes inMemory = [&bytes](std::uint64_t offset, std::size_t count) {
        return offset >= bytes.size() ? std::string() : bytes.substr(offset, count);
    };
    const TRecordFileRead read = ReadRecordFile(
        inMemory, bytes.size(), Name, [&](std::string_view kind, std::string_view payload) {
            std::optional<std::pair<std::string, TCheckedPage>> page =
                kind == "page" ? ParsePage(payload) : std::nullopt;
            if (page) {
                record.Pages.insert_or_assign(std::move(page->first), std::move(page->second));
                ++record.Records;
            }
            return page.has_value();
        });
    if (read.State != TRecordFileRead::Usable || read.Cut) {
        file.reset();
        record = {};
        record.SetAside = SetAsideDamaged(path);
    }
    return record;
}

bool PageChanged(const TCheckRecord& record, const std::string& path,
                 const TProgramSettings& settings) {
    const auto found = record.Pages.find(path);
    if (found == record.Pages.end()) {
        return true;
    }
    const TCheckedPage& page = found->second;
    return page.Checker != settings.LintProgram || page.OpenParen != settings.OpenParen ||
           page.CloseParen != settings.CloseParen || !StillMatches(path, page.Fingerprint);
}

std::vector<char> ChangedPages(const std::vector<std::string>& pages,
                               const TProgramSettings& settings, std::string& setAside) {
    const TCheckRecord record = settings.OutputFile.empty()
                                    ? TCheckRecord{}
                                    : LoadCheckRecord(CheckRecordPathFor(settings.OutputFile));
    setAside = record.SetAside;
    std::vector<char> changed;
    changed.reserve(pages.size());
    for (const std::string& page : pages) {
        changed.push_back(PageChanged(record, page, settings));
    }
    return changed;
}

std::optional<TCheckRecordWriter> TCheckRecordWriter::Open(const std::string& path,
                                                           const TCheckRecord& record) {
    std::optional<TFile> file =
        record.Id ? TFile::OpenUpdate(path, *record.Id) : TFile::CreateNew(path);
    if (!file) {
        return std::nullopt;
    }
    // Each run adds a record for every page it checks: past a few runs' worth, only the last
    // record of each page is kept.
    const bool compact = record.Records > 2 * record.Pages.size() + 64;
    std::uint64_t end = file->Size();
    if (end == 0 || compact) {
        std::string content = RecordFileHead(Name);
        if (compact) {
            for (const auto& [pagePath, page] : record.Pages) {
                content += PageRecord(0, pagePath, page);
            }
        }
        file->Truncate(0);
        file->Seek(0);
        file->WriteAll(content);
        end = content.size();
    }
    return TCheckRecordWriter(std::move(*file), end);
}

void TCheckRecordWriter::Add(const TJournalPage& page) {
    if (!page.Fingerprint) {
        return; // a page that could not be read stays changed
    }
    const std::string record =
        PageRecord(page.Finished, page.Path,
                   TCheckedPage{*page.Fingerprint, page.Checker, page.OpenParen, page.CloseParen});
    End = AppendRecord(File, End, record);
}
