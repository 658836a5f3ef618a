#include "app/command_line.h"

#include "platform/narrow_text.h"

namespace {

std::string Error(bool japanese, const char* japaneseText, const char* englishText,
                  const std::string& argument) {
    return "allcheck: " + (japanese ? NarrowText(japaneseText) : std::string(englishText)) +
           argument +
           (japanese ? NarrowText(" (--help で使い方を表示します)")
                     : std::string(" (--help shows the usage)"));
}

} // namespace

TCommandLine ReadCommandLine(const std::vector<std::string>& arguments, bool japanese) {
    TCommandLine line;
    bool changed = false, resume = false;
    for (const std::string& argument : arguments) {
        if (argument == "--run") {
            line.Mode = line.Mode == TCommandLine::Window ? TCommandLine::Run : line.Mode;
        } else if (argument == "--changed") {
            changed = true;
        } else if (argument == "--continue") {
            resume = true;
        } else if (argument == "--help" || argument == "-h") {
            line.Mode = TCommandLine::Help;
        } else if (argument == "--version") {
            line.Mode = line.Mode == TCommandLine::Help ? line.Mode : TCommandLine::Version;
        } else if (argument.starts_with("-")) {
            line.Error = Error(japanese, "知らないｵﾌﾟｼｮﾝです: ", "unknown option: ", argument);
            return line;
        } else {
            line.Error = Error(japanese, "余分な引数です: ", "unexpected argument: ", argument);
            return line;
        }
    }
    if ((changed || resume) && line.Mode == TCommandLine::Window) {
        line.Error = Error(japanese, "--run と一緒に使うｵﾌﾟｼｮﾝです: ", "only with --run: ",
                           changed ? "--changed" : "--continue");
    }
    line.ChangedOnly = changed;
    line.Continue = resume;
    return line;
}

std::string HelpText(bool japanese) {
    if (japanese) {
        return NarrowText(
            "使い方: allcheck [--run [--changed] [--continue]]\n"
            "\n"
            "ｻｲﾄの全てのHTMLﾌｧｲﾙをﾁｪｯｸﾌﾟﾛｸﾞﾗﾑでﾁｪｯｸし、結果を出力ﾌｧｲﾙにまとめます。\n"
            "設定はﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞの KESTOLA.INI と allcheck.INI から読みます。\n"
            "引数なしで起動するとｳｨﾝﾄﾞｳを開きます。\n"
            "\n"
            "  --run        ｳｨﾝﾄﾞｳを開かずに全てのﾌｧｲﾙをﾁｪｯｸします。進み具合は標準ｴﾗｰに\n"
            "               表示し、結果のﾌｧｲﾙは開きません\n"
            "  --changed    前回のﾁｪｯｸから変更されたﾌｧｲﾙだけをﾁｪｯｸします\n"
            "  --continue   中断したﾁｪｯｸがあれば、その続きをﾁｪｯｸします (付けないと、中断した\n"
            "               ﾁｪｯｸの結果は別の名前で残し、新しくﾁｪｯｸします)\n"
            "  --help       この説明を表示します\n"
            "  --version    版を表示します\n"
            "\n"
            "終了ｽﾃｰﾀｽ (--run):\n"
            "  0    全てのﾌｧｲﾙにﾁｪｯｸﾌﾟﾛｸﾞﾗﾑのﾚﾎﾟｰﾄがあり、結果を保存しました\n"
            "  1    ﾚﾎﾟｰﾄがないﾌｧｲﾙがあるか、結果を出力ﾌｧｲﾙに保存できませんでした\n"
            "  2    ﾁｪｯｸできませんでした (設定、出力ﾌｧｲﾙ、ほかのﾌﾟﾛｸﾞﾗﾑが使用中)\n"
            "  130  Ctrl+C で中断しました (143: 終了の要求で中断しました)。--continue で\n"
            "       続きをﾁｪｯｸできます\n");
    }
    return "Usage: allcheck [--run [--changed] [--continue]]\n"
           "\n"
           "Checks every HTML file of the sites with the checker and gathers its reports in the\n"
           "output file. The settings are read from KESTOLA.INI and allcheck.INI beside the\n"
           "program. Without arguments the program opens its window.\n"
           "\n"
           "  --run        check every file without a window; progress goes to standard\n"
           "               error, and the result is not opened\n"
           "  --changed    check only the files changed since their last check\n"
           "  --continue   continue a run that was cut short, if there is one (without it,\n"
           "               such a run's result is kept under another name and a new run starts)\n"
           "  --help       show this help\n"
           "  --version    show the version\n"
           "\n"
           "Exit status (--run):\n"
           "  0    every file has the checker's report, and the result was saved\n"
           "  1    some file has no report, or the result could not be saved as the output file\n"
           "  2    nothing could be checked (settings, output file, another program using it)\n"
           "  130  stopped by Ctrl+C (143: by a request to end); --continue continues the run\n";
}

std::string VersionText() {
    return "All Vornaxel Check " ALLCHECK_VERSION "\n";
}
