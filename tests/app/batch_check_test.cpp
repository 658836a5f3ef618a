#include "app/batch_check.h"
#include "app/status_texts.h"
#include "fake_checker.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "support/code_page_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

// The program's own lines are in the report's encoding: Shift-JIS on Windows.
std::string Text(std::string_view utf8) {
    return NarrowText(utf8);
}

// The command line as the could-not-start line shows it.
std::string Shown(const std::string& command, const std::string& page) {
#ifdef _WIN32
    return command + " \"" + page + "\"";
#else
    return command + " " + page;
#endif
}

class CheckOnePageTest : public ::testing::Test {
protected:
    // The fake checker beside this test program, doing action with the output file.
    TProgramSettings Checker(std::string_view action) {
        const std::string checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
        return {"\"" + checker + "\" \"" + Output + "\" " + std::string(action), Output, "[", "]",
                Approved};
    }

    TTempDir Dir;
    std::string Output = Dir.Path() + "out put.txt";
    // The output file as the start-up's reset leaves it.
    TFileId Approved = SaveTextFile(Output, "", std::nullopt);
};

TEST(BatchTexts, StatusAndHeaderHaveTheirFixedShape) {
    EXPECT_EQ(StatusProcessing(0, 3, "/web/a b.html"), Text("(0/3) /web/a b.html 処理中"));
    EXPECT_EQ(SectionHeader({"", "", "【", "】"}, "/web/a.html"), "\r\n\r\n【/web/a.html】\r\n");
}

TEST_F(CheckOnePageTest, TheReportComesBackByteForByte) {
    EXPECT_EQ(CheckOnePage(Checker("report"), Dir.Path() + "a.html"), FakeReport);
}

TEST_F(CheckOnePageTest, ThePageArrivesAsOneArgumentBlanksAndAllItsBytes) {
    const std::string page = Dir.Write(Hyoushi + "/my page.html", "<p>");
    EXPECT_EQ(CheckOnePage(Checker("args"), page), "[" + page + "]");
}

TEST_F(CheckOnePageTest, AStaleReportIsNeverHandedOn) {
    Dir.Write("out put.txt", "the previous page's report");
    EXPECT_EQ(CheckOnePage(Checker("touch"), Dir.Path() + "a.html"), "");
}

TEST_F(CheckOnePageTest, ANonZeroExitStatusIsSaidOnlyWhenTheReportIsEmpty) {
    EXPECT_EQ(CheckOnePage(Checker("problems"), "a.html"), "found problems\n");
    EXPECT_EQ(CheckOnePage(Checker("silent"), "a.html"),
              Text("ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑがﾚﾎﾟｰﾄを残さずに終了しました: 終了ｺｰﾄﾞ 3\r\n"));
}

TEST_F(CheckOnePageTest, ACheckerThatCannotStartIsSaidWithTheCommandLine) {
    const std::string page = Dir.Path() + "my page.html";
    Dir.Write("my page.html", "<p>");
    for (const std::string& command : {Dir.Path() + "missing-checker", "'" + page + "'",
                                       std::string("tidy 'unclosed"), std::string()}) {
        TProgramSettings settings{command, Output, "[", "]", Approved};
        EXPECT_EQ(CheckOnePage(settings, page),
                  Text("ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑを起動できませんでした: ") + Shown(command, page) + "\r\n");
    }
}

TEST_F(CheckOnePageTest, AReportThatCannotBeReadIsSaidAndTheRunGoesOn) {
    std::string section = CheckOnePage(Checker("folder"), Dir.Path() + "a.html");
    EXPECT_EQ(section.rfind(Text("ﾚﾎﾟｰﾄを読めませんでした: "), 0), 0u) << section;
    EXPECT_NE(section.find(Output), std::string::npos) << section;
#ifndef _WIN32
    EXPECT_NE(section.find("Is a directory"), std::string::npos) << section;
#endif
    EXPECT_EQ(section.substr(section.size() - 2), "\r\n");
}

TEST_F(CheckOnePageTest, ACheckerThatEndsAbnormallyIsSaidAfterWhatItLeft) {
#ifdef _WIN32
    const std::string how = "例外ｺｰﾄﾞ 0xC0000005";
#else
    const std::string how = "ｼｸﾞﾅﾙ 9";
#endif
    EXPECT_EQ(CheckOnePage(Checker("crash"), "a.html"),
              "half" + Text("ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが異常終了しました: " + how + "\r\n"));
}

#ifdef _WIN32
// A run of many pages leaves the screen and the keyboard alone: each checker's console of its
// own opens minimised and is never made the active window.
TEST_F(CheckOnePageTest, TheCheckersConsoleOpensMinimisedAndInactive) {
    EXPECT_EQ(CheckOnePage(Checker("startup"), "a.html"), "flags 1 show 7");
}
#endif

TEST_F(CheckOnePageTest, AnOutputFileThatCannotBeEmptiedStopsThatPagesCheck) {
    TProgramSettings settings = Checker("touch");
    settings.OutputFile = Dir.Path() + "missing folder/out.txt";
    std::string section = CheckOnePage(settings, "a.html");
    EXPECT_EQ(section.rfind(Text("ﾚﾎﾟｰﾄを空にできませんでした: "), 0), 0u) << section;
    EXPECT_NE(section.find("missing folder/out.txt"), std::string::npos) << section;
    EXPECT_FALSE(FileExists(Output + ".ran"));
}

} // namespace
