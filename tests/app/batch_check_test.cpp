#include "check_one_page_fixture.h"

#include "app/status_texts.h"
#include "fake_checker.h"
#include "platform/narrow_text.h"
#include "support/code_page_names.h"

#include <gtest/gtest.h>

namespace {

// The program's own lines are in the report's encoding: Shift-JIS on Windows.
std::string Text(std::string_view utf8) {
    return NarrowText(utf8);
}

// What each system says in its own way: the command line as the could-not-start line shows
// it, and how a checker ended abnormally.
#ifdef _WIN32
const std::string PageQuote = "\"";
const std::string AbnormalEnd = "例外ｺｰﾄﾞ 0xC0000005";
#else
const std::string PageQuote = "";
const std::string AbnormalEnd = "ｼｸﾞﾅﾙ 9";
#endif

std::string Shown(const std::string& command, const std::string& page) {
    return command + " " + PageQuote + page + PageQuote;
}

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

// A folder in the output file's place is no report: nothing but the approved file is read.
TEST_F(CheckOnePageTest, AReportThatCannotBeReadIsSaidAndTheRunGoesOn) {
    std::string section = CheckOnePage(Checker("folder"), Dir.Path() + "a.html");
    EXPECT_EQ(section.rfind(Text("ﾚﾎﾟｰﾄを読めませんでした: "), 0), 0u) << section;
    EXPECT_NE(section.find(Output), std::string::npos) << section;
    EXPECT_NE(section.find(Text("置き換えられたか消されたので読みません")), std::string::npos)
        << section;
    EXPECT_EQ(section.substr(section.size() - 2), "\r\n");
}

// A second name of a page put in the output file's place is not the output file: the page's
// text is never read back as its report.
TEST_F(CheckOnePageTest, OnlyTheApprovedOutputFileIsReadAsTheReport) {
    const std::string page = Dir.Write("a.html", "<p>the page</p>");
    const std::string section = CheckOnePage(Checker("link-page \"" + page + "\""), page);
    EXPECT_EQ(section.find("the page"), std::string::npos) << section;
    EXPECT_NE(section.find(Text("置き換えられたか消されたので読みません")), std::string::npos)
        << section;
}

TEST_F(CheckOnePageTest, ACheckerThatEndsAbnormallyIsSaidAfterWhatItLeft) {
    EXPECT_EQ(CheckOnePage(Checker("crash"), "a.html"),
              "half" + Text("ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが異常終了しました: " + AbnormalEnd + "\r\n"));
}

TEST_F(CheckOnePageTest, AnOutputFileThatCannotBeEmptiedStopsThatPagesCheck) {
    TProgramSettings settings = Checker("touch");
    settings.OutputFile = Dir.Path() + "missing folder/out.txt";
    std::string section = CheckOnePage(settings, "a.html");
    EXPECT_EQ(section.rfind(Text("ﾚﾎﾟｰﾄを空にできませんでした: "), 0), 0u) << section;
    EXPECT_NE(section.find("missing folder/out.txt"), std::string::npos) << section;
    EXPECT_FALSE(FileExists(Output + ".ran"));
}

} // namespace
