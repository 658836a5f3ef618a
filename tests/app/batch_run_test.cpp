#include "app/batch_run.h"
#include "app/check_record.h"
#include "app/output_guard.h"
#include "app/run_resume.h"
#include "fake_checker.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "support/pinned_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A list of pages with a check each, recording what the run shows.
class TRecordingView : public TBatchRunView {
public:
    explicit TRecordingView(Strings pages) : Pages(std::move(pages)), Checks(Pages.size(), true) {}

    int PageCount() const override { return static_cast<int>(Pages.size()); }
    std::string Page(int index) const override { return Pages.at(index); }
    bool PageChecked(int index) const override { return Checks.at(index); }
    void UncheckPage(int index) override { Checks.at(index) = false; }
    void ShowPageInProgress(int index) override { InProgress.push_back(index); }
    void ShowStatus(const std::string& text) override { Statuses.push_back(text); }
    void ShowProgress(int done, int total) override { Progress.emplace_back(done, total); }
    void PauseBetweenPages() override {
        if (OnPause) {
            OnPause(++Pauses);
        }
    }
    bool AskRetry(const std::string& message) override {
        Questions.push_back(message);
        return OnAskRetry && OnAskRetry(static_cast<int>(Questions.size()));
    }
    bool OpenResult(const std::string& path) override {
        Opened.push_back(path);
        return Opens;
    }
    void ShowWarning(const std::string& message) override { Warnings.push_back(message); }
    void WaitForChecker(TProcessHandle process) override {
        ++Waits;
        BlockUntilEnded(process);
    }
    bool StopRequested() const override { return Stop; }

    Strings Pages;
    std::vector<bool> Checks;
    Strings Statuses, Questions, Opened, Warnings;
    std::vector<std::pair<int, int>> Progress;
    std::vector<int> InProgress;
    // Called with the number of the pause, counted from 1.
    std::function<void(int pause)> OnPause;
    // Called with the number of the question, counted from 1; no answer gives up.
    std::function<bool(int question)> OnAskRetry;
    int Pauses = 0;
    int Waits = 0;
    bool Stop = false;
    bool Opens = true; // what the desktop answers
};

// What a death test's child and the checker it starts learn through the environment.
void SetEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

long CurrentProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

class BatchRunTest : public ::testing::Test {
protected:
    BatchRunTest() : Settings(Checker("pages")) {}

    // The fake checker beside this test program, doing action with the output file, which is
    // as the start-up's reset leaves it.
    TProgramSettings Checker(const std::string& action) const { return Checker(action, Output); }
    static TProgramSettings Checker(const std::string& action, const std::string& output) {
        const std::string checker = ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME;
        return {"\"" + checker + "\" \"" + output + "\" " + action, output, "[", "]",
                FileIdAt(output).value_or(TFileId{})};
    }

    // The section of a page as the fake checker's "pages" action leaves it.
    static std::string Section(const std::string& page) {
        return "\r\n\r\n[" + page + "]\r\n[" + page + "]" + FakeReport;
    }

    TTempDir Dir;
    std::string Output = Dir.Path() + "out.txt";
    TFileId Approved = SaveTextFile(Output, "", std::nullopt);
    TProgramSettings Settings;
    const TRunSettings Run{"/web/", Settings.LintProgram, Output, "[", "]"};
};

TEST_F(BatchRunTest, EveryCheckedPageHasItsSectionAndTheLastReportBecomesTheBackup) {
    TRecordingView view({"/web/a.html", "/web/b b.html", "/web/c.html"});
    view.Checks[2] = false;
    EXPECT_TRUE(RunBatch(Settings, Run, view));
    EXPECT_EQ(ReadAll(Output), Section("/web/a.html") + Section("/web/b b.html"));
    EXPECT_EQ(ReadAll(Dir.Path() + "out.bak"), "[/web/b b.html]" + FakeReport);
    EXPECT_EQ(view.Statuses,
              (Strings{NarrowText("(0/3) /web/a.html 処理中"),
                       NarrowText("(1/3) /web/b b.html 処理中"), NarrowText("全て終了しました")}));
    EXPECT_EQ(view.Progress, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(view.InProgress, (std::vector<int>{0, 1}));
    EXPECT_EQ(view.Checks, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(view.Opened, Strings{Output});
}

// Each page's check is read when its turn comes: what the user changes in a pause counts.
TEST_F(BatchRunTest, ChecksChangedInAPauseDecideWhichPagesFollow) {
    TRecordingView view({"/a.html", "/b.html", "/c.html", "/d.html"});
    view.Checks[3] = false;
    view.OnPause = [&](int pause) {
        if (pause == 1) {
            view.Checks[1] = false;
            view.Checks[3] = true;
        }
    };
    RunBatch(Settings, Run, view);
    EXPECT_EQ(ReadAll(Output), Section("/a.html") + Section("/c.html") + Section("/d.html"));
    EXPECT_EQ(view.Progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    // A page checked during the run adds to the total: never more done than there are.
    TRecordingView more({"/a.html", "/b.html"});
    more.Checks[1] = false;
    more.OnPause = [&](int pause) {
        if (pause == 1) {
            more.Checks[1] = true;
        }
    };
    RunBatch(Settings, Run, more);
    EXPECT_EQ(more.Progress, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}, {2, 2}}));
}

// A checker that leaves a process behind to write its report is over only once that process
// is, and the window waits for that one as for the checker: the page's section holds the late
// report, and nothing writes into the output file after the run.
// The status line says so meanwhile. (And a result that the desktop cannot open is said.)
TEST_F(BatchRunTest, WhatACheckerLeftRunningIsWaitedForAndItsLateReportIsThePages) {
    TRecordingView view({"/web/a.html"});
    view.Opens = false;
    EXPECT_TRUE(RunBatch(Checker("late"), Run, view));
    EXPECT_EQ(ReadAll(Output), Section("/web/a.html"));
    EXPECT_EQ(ReadAll(Dir.Path() + "out.bak"), "[/web/a.html]" + FakeReport);
    EXPECT_GE(view.Waits, 2);
    EXPECT_EQ(view.Statuses,
              (Strings{NarrowText("(0/1) /web/a.html 処理中"),
                       NarrowText("(0/1) /web/a.html ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが起動したﾌﾟﾛｸﾞﾗﾑの終了待ち"),
                       NarrowText("全て終了しました"),
                       NarrowText("全て終了しました  結果ﾌｧｲﾙを開けませんでした: ") + Output}));
}

// Nothing to check touches nothing: the previous result in the backup stays.
// Only a page that got its checker's report counts as checked when the changed pages are
// chosen; one whose checker failed stays changed.
TEST_F(BatchRunTest, OnlyAPageWithItsCheckersReportIsRecordedAsChecked) {
    const std::string good = Dir.Write("web/good.html", "<p>good");
    const std::string bad = Dir.Write("web/bad.html", "<p>bad");
    TRecordingView first({good});
    EXPECT_TRUE(RunBatch(Settings, Run, first));
    const TProgramSettings silent = Checker("silent");
    TRecordingView second({bad});
    EXPECT_TRUE(RunBatch(silent, Run, second));
    std::string setAside;
    EXPECT_EQ(ChangedPages({good, bad}, Settings, setAside), (std::vector<char>{false, true}));
    EXPECT_EQ(ChangedPages({bad}, silent, setAside), std::vector<char>{true});
}

TEST_F(BatchRunTest, ARunWithNothingCheckedDoesNothingAndSaysSo) {
    Dir.Write("out.bak", "the previous result");
    TRecordingView view({"/a.html"});
    view.Checks[0] = false;
    EXPECT_FALSE(RunBatch(Settings, Run, view));
    EXPECT_EQ(ReadAll(Output), "");
    EXPECT_EQ(ReadAll(Dir.Path() + "out.bak"), "the previous result");
    EXPECT_FALSE(std::filesystem::exists(JournalPathFor(Output)));
    EXPECT_EQ(view.Statuses, Strings{NarrowText("ﾁｪｯｸするﾌｧｲﾙがありません")});
    EXPECT_TRUE(view.Opened.empty());
}

// A checker that saves its report by renaming a new file over the output file just works: the
// new file passes the start-up's rules and becomes the output file, each page has its report
// and the combined report is saved in its place.
TEST_F(BatchRunTest, ACheckerThatSavesByRenamingANewFileOverTheOutputFileJustWorks) {
    TProgramSettings settings = Checker("rename-over");
    const TFileId folder = FileIdAt(Dir.Path()).value();
    const TFileList noPages;
    const TStringList sites;
    settings.ApproveReplacement = [&] {
        return ReplacementApproval(Output, folder, sites, noPages, {});
    };
    TRecordingView view({"/a.html", "/b.html"});
    EXPECT_TRUE(RunBatch(settings, Run, view));
    EXPECT_EQ(ReadAll(Output), Section("/a.html") + Section("/b.html"));
    EXPECT_EQ(ReadAll(Dir.Path() + "out.bak"), "[/b.html]" + FakeReport);
    EXPECT_EQ(view.Checks, (std::vector<bool>{false, false}));
    EXPECT_EQ(view.Statuses.back(), NarrowText("全て終了しました"));
}

// A last report that is empty (here a checker that wrote nothing) leaves the previous result in
// the backup.
TEST_F(BatchRunTest, AnEmptyLastReportLeavesTheBackupAlone) {
    Dir.Write("out.bak", "the previous result");
    TRecordingView view({"/a.html"});
    EXPECT_TRUE(RunBatch(Checker("silent"), Run, view));
    EXPECT_EQ(ReadAll(Dir.Path() + "out.bak"), "the previous result");
    EXPECT_EQ(view.Statuses.back(),
              NarrowText("終了しました。ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑのﾚﾎﾟｰﾄがないﾌｧｲﾙが 1 件あります"));
    ASSERT_EQ(view.Warnings.size(), 1u);
    EXPECT_NE(view.Warnings[0].find("/a.html: "), std::string::npos) << view.Warnings[0];
}

// The output file cannot be replaced (another program holds it, or it is immutable) until the
// second retry.
TEST_F(BatchRunTest, AFailedSaveIsOfferedAgainUntilItSucceeds) {
    TRecordingView view({"/a.html"});
    std::optional<TPinnedFile> pinned;
    view.OnPause = [&](int) {
        pinned.emplace(Output);
        ASSERT_TRUE(pinned->Ok) << "this test needs a file system with the immutable flag";
    };
    view.OnAskRetry = [&](int question) {
        if (question == 2) {
            pinned.reset();
        }
        return true;
    };
    EXPECT_TRUE(RunBatch(Settings, Run, view));
    ASSERT_EQ(view.Questions.size(), 2u);
    EXPECT_NE(view.Questions[0].find("out.txt"), std::string::npos) << view.Questions[0];
    EXPECT_EQ(ReadAll(Output), Section("/a.html"));
    EXPECT_EQ(view.Statuses.back(), NarrowText("全て終了しました"));
    EXPECT_EQ(view.Opened, Strings{Output});
}

// Only the file approved at start-up is written: what is put in its place later (on Linux a
// link to a page, under Wine, which makes no links, another file) is neither emptied for the
// checker nor saved over, and the save is offered again until the file is back (on Linux a
// link to it will do).
TEST_F(BatchRunTest, AReplacedOutputFileIsLeftAloneAndTheSaveWaitsForTheApprovedOne) {
    const std::string page = Dir.Write("site/a.html", "<p>page</p>");
    const std::string kept = Dir.Path() + "kept.txt";
#ifdef _WIN32
    const auto replace = [&] { Dir.Write("out.txt", "<p>page</p>"); };
    const auto bringBack = [&] { std::filesystem::rename(kept, Output); };
#else
    const auto replace = [&] { std::filesystem::create_symlink(page, Output); };
    const auto bringBack = [&] { std::filesystem::create_symlink(kept, Output); };
#endif
    TRecordingView view({"/web/1.html", "/web/2.html"});
    view.OnPause = [&](int pause) {
        if (pause == 1) {
            std::filesystem::rename(Output, kept);
            replace();
        }
    };
    view.OnAskRetry = [&](int) {
        EXPECT_EQ(ReadAll(Output), "<p>page</p>");
        std::filesystem::remove(Output);
        bringBack();
        return true;
    };
    EXPECT_TRUE(RunBatch(Settings, Run, view));
    const std::string replaced =
        NarrowText("出力ﾌｧｲﾙが置き換えられたか消されたので書きません: ") + Output;
    EXPECT_EQ(view.Questions, Strings{replaced});
    EXPECT_EQ(ReadAll(Output), Section("/web/1.html") + "\r\n\r\n[/web/2.html]\r\n" +
                                   NarrowText("ﾚﾎﾟｰﾄを空にできませんでした: ") + replaced + "\r\n");
    EXPECT_EQ(ReadAll(page), "<p>page</p>");
}

// The program ended by force while a page's checker runs: in a child process, whose checker
// ends it. The journal keeps the page before; the run continued from it writes what one whole
// run would have, byte for byte.
TEST_F(BatchRunTest, ARunKilledAtAPageIsContinuedAsIfItHadNeverStopped) {
    const auto settingsIn = [](const std::string& dir) {
        return Checker("once-at \"" + dir + "marker\" b.html end-program", dir + "out.txt");
    };
    const auto runIn = [](const TProgramSettings& settings) {
        return TRunSettings{"/web/", settings.LintProgram, settings.OutputFile, "[", "]"};
    };
    const TProgramSettings settings = settingsIn(Dir.Path());
    const TRunSettings run = runIn(settings);
    const Strings pages{"/web/a.html", "/web/b.html", "/web/c.html"};
    // On Windows the child runs this test from its start, in a temporary folder of its own: it
    // is told this one's.
    if (GTEST_FLAG_GET(internal_run_death_test).empty()) {
        SetEnvironment("ALLCHECK_TEST_DIR", Dir.Path());
    }
#ifdef _WIN32
    const auto killed = ::testing::ExitedWithCode(9);
#else
    const auto killed = ::testing::KilledBySignal(SIGKILL);
#endif
    EXPECT_EXIT(
        {
            const TProgramSettings childSettings = settingsIn(std::getenv("ALLCHECK_TEST_DIR"));
            SetEnvironment("FAKE_CHECKER_PROGRAM", std::to_string(CurrentProcessId()));
            TRecordingView view(pages);
            RunBatch(childSettings, runIn(childSettings), view);
            std::exit(0);
        },
        killed, "");
    const TJournalFinding found = FindJournal(JournalPathFor(Output), run);
    ASSERT_EQ(found.Kind, TJournalFinding::Unfinished);
    EXPECT_EQ(std::pair(found.Done, found.Total), std::pair(std::size_t{1}, std::size_t{3}));
    TRecordingView view(pages);
    view.Checks[0] = false;
    const TContinuedRun continued{found.Content, found.Id};
    EXPECT_TRUE(RunBatch(settings, run, view, &continued));
    EXPECT_EQ(ReadAll(Output),
              Section("/web/a.html") + Section("/web/b.html") + Section("/web/c.html"));
    EXPECT_EQ(ReadAll(Dir.Path() + "out.bak"), "[/web/c.html]" + FakeReport);
    EXPECT_FALSE(std::filesystem::exists(JournalPathFor(Output)));
}

// A run stopped keeps its journal, which the next start offers only under the same settings:
// under others, its finished pages are kept as a readable report and the journal goes.
TEST_F(BatchRunTest, AStoppedRunUnderOtherSettingsIsKeptAsAReportNotOffered) {
    TRecordingView view({"/a.html", "/b.html"});
    view.OnPause = [&](int) { view.Stop = true; };
    EXPECT_TRUE(RunBatch(Settings, Run, view));
    EXPECT_EQ(ReadAll(Output), Section("/a.html"));
    EXPECT_EQ(view.Statuses.back(),
              NarrowText("ﾁｪｯｸを中止しました。終わったﾌｧｲﾙの結果を保存しました"));
    EXPECT_EQ(view.Checks, (std::vector<bool>{false, true}));
    const std::string journal = JournalPathFor(Output);
    EXPECT_EQ(FindJournal(journal, Run).Kind, TJournalFinding::Unfinished);
    for (const TRunSettings& other :
         {TRunSettings{"/other/", Run.Checker, Output, "[", "]"},
          TRunSettings{Run.Sites, Run.Checker + " -q", Output, "[", "]"},
          TRunSettings{Run.Sites, Run.Checker, Output, "<", ">"}}) {
        ASSERT_TRUE(std::filesystem::exists(journal));
        const std::filesystem::path copy = Dir.Path() + "journal copy";
        std::filesystem::copy_file(journal, copy);
        const TJournalFinding found = FindJournal(journal, other);
        EXPECT_EQ(found.Kind, TJournalFinding::OtherSettings);
        EXPECT_EQ(ReadAll(found.Kept), Section("/a.html"));
        EXPECT_FALSE(std::filesystem::exists(journal));
        std::filesystem::remove(found.Kept);
        std::filesystem::rename(copy, journal);
    }
}

TEST_F(BatchRunTest, ASaveGivenUpIsNoSuccessAndTheStatusSaysWhy) {
    TRecordingView view({"/a.html"});
    view.OnPause = [&](int) {
        std::filesystem::remove(Output);
        std::filesystem::create_directory(Output);
    };
    EXPECT_FALSE(RunBatch(Settings, Run, view));
    ASSERT_EQ(view.Questions.size(), 1u);
    EXPECT_TRUE(view.Opened.empty());
    // The combined report is kept under a name that the status line and a box give.
    const std::string said = NarrowText("  結果はこのﾌｧｲﾙに残しました: ");
    const std::string& status = view.Statuses.back();
    ASSERT_TRUE(status.starts_with(view.Questions[0] + said)) << status;
    EXPECT_EQ(view.Warnings, Strings{status});
    EXPECT_EQ(ReadAll(status.substr(view.Questions[0].size() + said.size())), Section("/a.html"));
    EXPECT_FALSE(std::filesystem::exists(JournalPathFor(Output)));
}

} // namespace
