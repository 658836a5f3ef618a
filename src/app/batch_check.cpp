#include "app/batch_check.h"

#include "files/text_file.h"
#include "platform/exceptions.h"
#include "platform/file_io.h"

namespace {

const char* const CrLf = "\r\n";
const char* const CannotEmptyReport = "ﾚﾎﾟｰﾄを空にできませんでした: ";
const char* const CannotStartChecker = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑを起動できませんでした: ";
const char* const CannotReadReport = "ﾚﾎﾟｰﾄを読めませんでした: ";
const char* const CheckerKilled = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが異常終了しました: ｼｸﾞﾅﾙ ";
const char* const CheckerLeftNoReport = "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑがﾚﾎﾟｰﾄを残さずに終了しました: 終了ｺｰﾄﾞ ";

} // namespace

std::string StatusProcessing(int index, int count, const std::string& path) {
    return "(" + std::to_string(index) + "/" + std::to_string(count) + ") " + path + " 処理中";
}

std::string SectionHeader(const TProgramSettings& settings, const std::string& path) {
    return std::string(CrLf) + CrLf + settings.OpenParen + path + settings.CloseParen + CrLf;
}

std::string CommandLine(const std::string& lintProgram, const std::string& path) {
    return lintProgram + " " + path;
}

TProcessOutcome RunLint(const std::string& lintProgram, const std::string& fileName) {
    std::optional<std::vector<std::string>> words = SplitCommandWords(lintProgram);
    if (!words || words->empty()) {
        return {};
    }
    words->push_back(fileName);
    return RunAndWait(*words);
}

std::string CheckOnePage(const TProgramSettings& settings, const std::string& path) {
    // A checker that writes nothing must not hand the previous page's report to this one.
    try {
        WriteFileBytes(settings.OutputFile, "");
    } catch (const EInOutError& error) {
        return CannotEmptyReport + error.Message + CrLf;
    }

    TProcessOutcome outcome = RunLint(settings.LintProgram, path);
    if (!outcome.Started) {
        return CannotStartChecker + CommandLine(settings.LintProgram, path) + CrLf;
    }

    std::string section;
    try {
        section = LoadTextFile(settings.OutputFile);
    } catch (const EInOutError& error) {
        section = CannotReadReport + error.Message + CrLf;
    }
    if (outcome.TermSignal != 0) {
        section += CheckerKilled + std::to_string(outcome.TermSignal) + CrLf;
    } else if (outcome.ExitStatus != 0 && section.empty()) {
        // A failure with nothing to show would read like a clean page. With a report, a non-zero
        // status is how checkers say that they found problems.
        section = CheckerLeftNoReport + std::to_string(outcome.ExitStatus) + CrLf;
    }
    return section;
}
