#include "app/headless_run.h"
#include "app/run_journal.h"
#include "fake_checker.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/instance_lock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

// The program without its window, in a temporary folder with its settings files, over a site of
// two pages.
class HeadlessRunTest : public ::testing::Test {
protected:
    HeadlessRunTest() {
        Dir.Write("site/first.html", "<p>1");
        Dir.Write("site/second.html", "<p>2");
        Dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=" + Dir.Path() + "site/\r\n");
        Configure("pages");
    }
    ~HeadlessRunTest() override { OverrideExeName(""); }

    // The fake checker beside this test program, doing action with the output file.
    void Configure(const std::string& action, const std::string& output = "out.txt") {
        const std::string outputPath = output.empty() ? "" : Dir.Path() + output;
        Dir.Write("allcheck.INI", "[Program]\nVornaxelBatch=\"" + Checker + "\" \"" + outputPath +
                                      "\" " + action + "\nOutputFile=" + outputPath + "\n");
    }

    int Run(bool changedOnly = false) {
        OverrideExeName(Dir.Path() + "allcheck");
        TCommandLine line;
        line.Mode = TCommandLine::Run;
        line.ChangedOnly = changedOnly;
        const int status = RunWithoutWindow(line);
        OverrideExeName("");
        return status;
    }

    TTempDir Dir;
    const std::string Checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
    const std::string Output = Dir.Path() + "out.txt";
};

TEST_F(HeadlessRunTest, TheExitStatusSaysWhetherEveryPageHasItsReport) {
    struct TCase {
        const char* Action;
        const char* Output;
        int Status;
    } const cases[] = {
        {"pages", "out.txt", 0},
        {"silent", "out.txt", 1}, // ended with 3 and left nothing
        {"pages", "", 2},         // no output file set
        {"pages", "site/out.html", 2},
    };
    for (const TCase& test : cases) {
        Configure(test.Action, test.Output);
        EXPECT_EQ(Run(), test.Status) << test.Action << " " << test.Output;
    }
    Configure("pages");
    const TOutputFileLock otherProgram(Output);
    EXPECT_EQ(Run(), 2);
}

// After a run, --changed checks nothing until a page changes, and leaves the last result alone.
TEST_F(HeadlessRunTest, ChangedOnlyChecksWhatChangedSinceTheLastRun) {
    ASSERT_EQ(Run(), 0);
    const std::string full = ReadAll(Output);
    EXPECT_NE(full.find("second.html"), std::string::npos);
    EXPECT_EQ(Run(true), 0);
    EXPECT_EQ(ReadAll(Output), full);
    Dir.Write("site/second.html", "<p>edited");
    EXPECT_EQ(Run(true), 0);
    EXPECT_EQ(ReadAll(Output).find("first.html"), std::string::npos);
    EXPECT_NE(ReadAll(Output).find("second.html"), std::string::npos);
}

// The program itself, from a command line: on Linux without a display, where a window could
// not open; on Windows its console build, waited for by cmd.
TEST_F(HeadlessRunTest, TheProgramRunsFromACommandLineWithoutAWindow) {
#ifdef _WIN32
    const std::string program = Dir.Path() + "allcheck.com";
    fs::copy_file(HEADLESS_PROGRAM, program);
    const auto run = [&](const std::string& arguments) {
        return std::system(("\"\"" + program + "\" " + arguments + " 2>nul\"").c_str());
    };
#else
    const std::string program = Dir.Path() + "allcheck";
    fs::copy_file(HEADLESS_PROGRAM, program);
    const auto run = [&](const std::string& arguments) {
        const int status = std::system(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                        program + "' " + arguments + " 2>/dev/null")
                                           .c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
#endif
    EXPECT_EQ(run("--run"), 0);
    EXPECT_NE(ReadAll(Output).find("second.html"), std::string::npos);
    EXPECT_EQ(run("--frobnicate"), 2);
#ifndef _WIN32
    // Ctrl+C while the second page's checker runs: that page is not done, the first is kept,
    // and --continue finishes the run.
    const std::string marker = Dir.Path() + "marker";
    Configure("once-at \"" + marker + "\" second.html hang");
    const int status = std::system(("env -u DISPLAY -u WAYLAND_DISPLAY '" + program +
                                    "' --run 2>/dev/null & program=$!; "
                                    "while [ ! -e '" +
                                    marker +
                                    "' ]; do sleep 0.05; done; "
                                    "kill -INT $program; wait $program")
                                       .c_str());
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_TRUE(fs::exists(JournalPathFor(Output)));
    EXPECT_EQ(ReadAll(Output).find("second.html"), std::string::npos);
    EXPECT_EQ(run("--run --continue"), 0);
    EXPECT_NE(ReadAll(Output).find("first.html"), std::string::npos);
    EXPECT_NE(ReadAll(Output).find("second.html"), std::string::npos);
    EXPECT_FALSE(fs::exists(JournalPathFor(Output)));
#endif
}

} // namespace
