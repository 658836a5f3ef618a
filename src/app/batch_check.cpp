#include "app/batch_check.h"

#include "files/text_file.h"
#include "platform/exceptions.h"
#include "platform/narrow_text.h"

#include <cstdio>

namespace {

const char* const CrLf = "\r\n";
const char* const CannotEmptyReport = "ﾚﾎﾟｰﾄを空にできませんでした: ";
const char* const CannotStartChecker = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑを起動できませんでした: ";
const char* const CannotReadReport = "ﾚﾎﾟｰﾄを読めませんでした: ";
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
    // A failure is its line in the section, and the same words without the line end.
    const auto failed = [](std::string why) {
        TPageCheck check{why + CrLf, why};
        return check;
    };
    // A checker that writes nothing must not hand the previous page's report to this one.
    try {
        EmptyTextFile(settings.OutputFile, settings.OutputFileId);
    } catch (const EInOutError& error) {
        return failed(NarrowText(CannotEmptyReport) + error.Message);
    }

    TProcessOutcome outcome = RunLint(settings.LintProgram, path, wait);
    if (outcome.PathRefused) {
        return failed(NarrowText(PathCannotBePassed) + path);
    }
    if (!outcome.Started) {
        return failed(NarrowText(CannotStartChecker) + CommandLineOf(settings.LintProgram, path));
    }

    TPageCheck check;
    try {
        check.Section = LoadTextFile(settings.OutputFile);
    } catch (const EInOutError& error) {
        check.Failure = NarrowText(CannotReadReport) + error.Message;
        check.Section = check.Failure + CrLf;
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
