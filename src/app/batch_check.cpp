#include "app/batch_check.h"

#include "files/text_file.h"
#include "platform/exceptions.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"

#include <cstdio>

namespace {

const char* const CrLf = "\r\n";
const char* const CannotEmptyReport = "ﾚﾎﾟｰﾄを空にできませんでした: ";
const char* const CannotStartChecker = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑを起動できませんでした: ";
const char* const CannotReadReport = "ﾚﾎﾟｰﾄを読めませんでした: ";
const char* const ReportReplaced =
    "出力ﾌｧｲﾙがﾁｪｯｸﾌﾟﾛｸﾞﾗﾑの実行中に置き換えられたか消されたので読みません: ";
const char* const CheckerKilled = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが異常終了しました: ";
const char* const CheckerLeftNoReport = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑがﾚﾎﾟｰﾄを残さずに終了しました: 終了ｺｰﾄﾞ ";
const char* const PathCannotBePassed =
    "ﾊﾟｽをﾁｪｯｸﾌﾟﾛｸﾞﾗﾑにそのまま渡せないため、ﾁｪｯｸしませんでした: ";
const char* const EndedBySignal = "ｼｸﾞﾅﾙ ";
const char* const EndedByException = "例外ｺｰﾄﾞ ";

// How a checker ended that did not end by itself: "ｼｸﾞﾅﾙ 9", "例外ｺｰﾄﾞ 0xC0000005".
std::string AbnormalEndText(const TProcessOutcome& outcome) {
    if (outcome.AbnormalEnd == TProcessOutcome::Signal) {
        return NarrowText(EndedBySignal) + std::to_string(outcome.AbnormalCode);
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(outcome.AbnormalCode));
    return NarrowText(EndedByException) + code;
}

} // namespace

std::string SectionHeader(const TProgramSettings& settings, const std::string& path) {
    return std::string(CrLf) + CrLf + settings.OpenParen + path + settings.CloseParen + CrLf;
}

TProcessOutcome RunLint(const std::string& lintProgram, const std::string& fileName,
                        const TProcessWaiter& wait) {
    return RunCommandOn(lintProgram, fileName, wait);
}

TPageCheck CheckPage(const TProgramSettings& settings, const std::string& path,
                     const TProcessWaiter& wait) {
    TPageCheck check;
    // A failure is its line in the section, and the same words without the line end.
    const auto failed = [&check](std::string why) {
        check.Section = why + CrLf;
        check.Failure = std::move(why);
        return check;
    };
    TFileId approved = settings.OutputFileId;
    // Another file at the output file's name (a checker that saves by renaming a new file over
    // it) becomes the output file once it passes every rule that the start-up applied.
    const auto approveAnother = [&] {
        const std::optional<TFileId> another =
            settings.ApproveReplacement ? settings.ApproveReplacement() : std::nullopt;
        if (!another || *another == approved) {
            return false;
        }
        approved = *another;
        check.Approved = approved;
        return true;
    };
    // A checker that writes nothing must not hand the previous page's report to this one. A name
    // that leads nowhere in a folder that is there (the checker moved the file away) hands
    // nothing on.
    const bool movedAway = FileTypeOf(settings.OutputFile) == TFileType::Missing &&
                           FileIdAt(ExtractFilePath(settings.OutputFile));
    try {
        try {
            if (!movedAway) {
                EmptyTextFile(settings.OutputFile, approved);
            }
        } catch (const EFileReplaced&) {
            if (!approveAnother()) {
                throw;
            }
            EmptyTextFile(settings.OutputFile, approved);
        }
    } catch (const EInOutError& error) {
        check.NotRun = true;
        return failed(NarrowText(CannotEmptyReport) + error.Message);
    }

    TProcessOutcome outcome = RunLint(settings.LintProgram, path, wait);
    if (outcome.PathRefused) {
        return failed(NarrowText(PathCannotBePassed) + path);
    }
    if (!outcome.Started) {
        return failed(NarrowText(CannotStartChecker) + CommandLineOf(settings.LintProgram, path));
    }

    try {
        try {
            check.Section = LoadReport(settings.OutputFile, approved);
        } catch (const EFileReplaced&) {
            if (!approveAnother()) {
                throw;
            }
            check.Section = LoadReport(settings.OutputFile, approved);
        }
    } catch (const EFileReplaced&) {
        failed(NarrowText(CannotReadReport) + NarrowText(ReportReplaced) + settings.OutputFile);
    } catch (const EInOutError& error) {
        failed(NarrowText(CannotReadReport) + error.Message);
    }
    if (outcome.AbnormalEnd != TProcessOutcome::None) {
        const std::string why = NarrowText(CheckerKilled) + AbnormalEndText(outcome);
        check.Section += why + CrLf;
        check.Failure = why;
    } else if (outcome.ExitStatus != 0 && check.Section.empty()) {
        // A failure with nothing to show would read like a clean page. With a report, a non-zero
        // status is how checkers say that they found problems.
        return failed(NarrowText(CheckerLeftNoReport) + std::to_string(outcome.ExitStatus));
    }
    return check;
}
