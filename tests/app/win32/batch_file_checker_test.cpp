// A checker that is a batch file runs through cmd.exe, which reads its command line first.
#include "app/batch_check.h"
#include "fake_checker.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class BatchFileCheckerTest : public ::testing::Test {
protected:
    // A batch file that hands its first argument, without its quotes, to the fake checker.
    BatchFileCheckerTest() {
        const std::string checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
        Batch = Dir.Write("check.bat", "@\"" + checker + "\" \"" + Output + "\" args \"%~1\"\r\n");
    }

    std::string Check(const std::string& command, const std::string& page) {
        return CheckOnePage({command, Output, "[", "]", Approved}, page);
    }

    TTempDir Dir;
    std::string Output = Dir.Path() + "out.txt";
    TFileId Approved = SaveTextFile(Output, "", std::nullopt);
    std::string Batch;
};

// Every character that cmd.exe treats specially and a file name may hold: through a batch file,
// and through cmd.exe's own command line (where % is expanded: Wine's cmd.exe expands it once
// more in a batch file's %1, which Windows does not, so % is tried on the command line only).
TEST_F(BatchFileCheckerTest, GetsThePagesPathExactly) {
    for (const std::string name : {"a&b^c(d)e!f.html", "g;h,i=j'k l@m~n.html"}) {
        const std::string page = Dir.Path() + name;
        EXPECT_EQ(Check("\"" + Batch + "\"", page), "[" + page + "]") << name;
        EXPECT_EQ(Check("cmd /d /c \"" + Batch + "\"", page), "[" + page + "]") << name;
        EXPECT_EQ(Check("cmd /v:off/d/c \"" + Batch + "\"", page), "[" + page + "]") << name;
    }
    const std::string checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
    for (const std::string name :
         {"x%WINDIR%y.html", "%%1%~1%cd%.html", "%.html", "a&b^c(d)e!f%PATH%.html"}) {
        const std::string page = Dir.Path() + name;
        EXPECT_EQ(Check("cmd /d /c \"" + checker + "\" \"" + Output + "\" args", page),
                  "[" + page + "]")
            << name;
    }
}

// With delayed expansion, in any spelling that turns it on, the user's cmd.exe would read ! as
// a variable's mark; without extensions % could not be kept plain.
TEST_F(BatchFileCheckerTest, APathThatCannotComeThroughIsSaidAndNotChecked) {
    const std::pair<std::string, std::string> cases[] = {
        {"/v:on", "a!b!.html"}, {"/v:yes", "a!b!.html"}, {"/e:off", "a%b%.html"}};
    for (const auto& [switches, name] : cases) {
        const std::string page = Dir.Path() + name;
        EXPECT_EQ(Check("cmd " + switches + " /c \"" + Batch + "\"", page),
                  NarrowText("ﾊﾟｽをﾁｪｯｸﾌﾟﾛｸﾞﾗﾑにそのまま渡せないため、ﾁｪｯｸしませんでした: ") +
                      page + "\r\n")
            << switches;
        EXPECT_EQ(ReadAll(Output), "") << switches;
    }
}

// A batch file that hands the work to a program of its own with start ends at once; the page's
// report is the one that program leaves.
TEST_F(BatchFileCheckerTest, WhatItStartsIsWaitedFor) {
    const std::string checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
    const std::string starter = Dir.Write("start.bat", "@start \"\" /min \"" + checker + "\" \"" +
                                                           Output + "\" late-child \"%~1\"\r\n");
    const std::string page = Dir.Path() + "a.html";
    EXPECT_EQ(Check("\"" + starter + "\"", page), "[" + page + "]" + FakeReport);
}

} // namespace
