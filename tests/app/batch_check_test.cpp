#include "app/batch_check.h"
#include "support/temp_dir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using namespace std::string_literals;

// What the fake checker leaves as its report: line ends of both kinds, NUL and high bytes.
const std::string Report = "line 1\r\nline 2\nnul \0 high \x80\xFF\x81\x79 end"s;

class CheckOnePageTest : public ::testing::Test {
protected:
    // A checker called as "<script> <output file> <page>".
    TProgramSettings Checker(std::string_view body) {
        std::string script =
            Dir.Write("checker.sh", "#!/bin/sh\nout=\"$1\"\npage=\"$2\"\n" + std::string(body));
        ::chmod(script.c_str(), 0755);
        return {"'" + script + "' '" + Output + "'", Output, "[", "]"};
    }

    TTempDir Dir;
    std::string Output = Dir.Path() + "out put.txt";
};

TEST(BatchTexts, StatusAndHeaderHaveTheirFixedShape) {
    EXPECT_EQ(StatusProcessing(0, 3, "/web/a b.html"), "(0/3) /web/a b.html 処理中");
    EXPECT_EQ(SectionHeader({"", "", "【", "】"}, "/web/a.html"), "\r\n\r\n【/web/a.html】\r\n");
}

TEST_F(CheckOnePageTest, TheReportComesBackByteForByte) {
    TProgramSettings settings = Checker("printf 'line 1\\r\\nline 2\\nnul \\000 high "
                                        "\\200\\377\\201\\171 end' > \"$out\"\n");
    EXPECT_EQ(CheckOnePage(settings, Dir.Path() + "a.html"), Report);
}

TEST_F(CheckOnePageTest, AStaleReportIsNeverHandedOn) {
    Dir.Write("out put.txt", "the previous page's report");
    EXPECT_EQ(CheckOnePage(Checker("exit 0\n"), Dir.Path() + "a.html"), "");
}

TEST_F(CheckOnePageTest, ANonZeroExitStatusIsSaidOnlyWhenTheReportIsEmpty) {
    EXPECT_EQ(CheckOnePage(Checker("echo found problems > \"$out\"\nexit 2\n"), "a.html"),
              "found problems\n");
    EXPECT_EQ(CheckOnePage(Checker("exit 3\n"), "a.html"),
              "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑがﾚﾎﾟｰﾄを残さずに終了しました: 終了ｺｰﾄﾞ 3\r\n");
}

TEST_F(CheckOnePageTest, ACheckerThatCannotStartIsSaidWithTheCommandLine) {
    const std::string page = Dir.Path() + "my page.html";
    Dir.Write("my page.html", "<p>");
    for (const std::string& command : {Dir.Path() + "missing-checker", "'" + page + "'",
                                       std::string("tidy 'unclosed"), std::string()}) {
        TProgramSettings settings{command, Output, "[", "]"};
        EXPECT_EQ(CheckOnePage(settings, page),
                  "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑを起動できませんでした: " + command + " " + page + "\r\n");
    }
}

TEST_F(CheckOnePageTest, AReportThatCannotBeReadIsSaidAndTheRunGoesOn) {
    std::string section =
        CheckOnePage(Checker("rm -f \"$out\"\nmkdir \"$out\"\n"), Dir.Path() + "a.html");
    EXPECT_EQ(section.rfind("ﾚﾎﾟｰﾄを読めませんでした: ", 0), 0u) << section;
    EXPECT_NE(section.find("Is a directory"), std::string::npos) << section;
    EXPECT_EQ(section.substr(section.size() - 2), "\r\n");
}

TEST_F(CheckOnePageTest, ACheckerKilledByASignalIsSaidAfterWhatItLeft) {
    EXPECT_EQ(CheckOnePage(Checker("printf 'half' > \"$out\"\nkill -9 $$\n"), "a.html"),
              "half"
              "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが異常終了しました: ｼｸﾞﾅﾙ 9\r\n");
}

TEST_F(CheckOnePageTest, AnOutputFileThatCannotBeEmptiedStopsThatPagesCheck) {
    TProgramSettings settings = Checker("touch \"$out.ran\"\n");
    settings.OutputFile = Dir.Path() + "missing folder/out.txt";
    std::string section = CheckOnePage(settings, "a.html");
    EXPECT_EQ(section.rfind("ﾚﾎﾟｰﾄを空にできませんでした: ", 0), 0u) << section;
    EXPECT_NE(section.find("missing folder/out.txt"), std::string::npos) << section;
    EXPECT_FALSE(std::filesystem::exists(Output + ".ran"));
}

} // namespace
