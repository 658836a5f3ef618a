#include "app/output_reset.h"

#include "app/check_record.h"
#include "app/output_guard.h"
#include "app/status_texts.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"

std::optional<TOutputResetProblem>
ResetOutputFile(TProgramSettings& settings, const TStringList& siteDirs, const TFileList& pages) {
    if (settings.OutputFile.empty()) {
        return std::nullopt;
    }
    const std::vector<std::string> ownFiles{OwnSettingsPath(), CompanionSettingsPath(), ExeName()};
    // The journal and the record of checks beside the output file obey the same rule.
    for (const std::string& file : {settings.OutputFile, JournalPathFor(settings.OutputFile),
                                    CheckRecordPathFor(settings.OutputFile)}) {
        if (std::optional<std::string> refusal =
                OutputFileRefusal(file, siteDirs, pages, ownFiles)) {
            settings.OutputFile.clear();
            return TOutputResetProblem{*refusal, true};
        }
    }
    const TFileId folder =
        FileIdAt(ExtractFilePath(FullPath(settings.OutputFile))).value_or(TFileId{});
    settings.ApproveReplacement = [outputFile = settings.OutputFile, folder, &siteDirs, &pages,
                                   ownFiles] {
        return ReplacementApproval(outputFile, folder, siteDirs, pages, ownFiles);
    };
    // What the rule approved, a file or nothing (a device is never opened: the rule refuses it
    // by its name first); the reset makes sure that the name still leads there.
    try {
        settings.OutputFileId =
            SaveTextFile(settings.OutputFile, "", FileIdAt(settings.OutputFile));
    } catch (const Exception& error) {
        settings.OutputFile.clear();
        return TOutputResetProblem{ResetFailedText(error.Message), false};
    }
    return std::nullopt;
}

TRunSettings RunSettingsOf(const TStringList& siteDirs, const TProgramSettings& settings) {
    // The sites one after another, each ended by a byte that no path holds.
    std::string sites;
    for (const std::string& site : siteDirs) {
        sites += site + '\0';
    }
    return {sites, settings.LintProgram, settings.OutputFile, settings.OpenParen,
            settings.CloseParen};
}
