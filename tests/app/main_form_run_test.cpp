// The batch run through the main window: its controls during and after a run, and what the
// user does meanwhile. The run itself is tested without a window in batch_run_test.cpp.
#include "program_fixture.h"

#include "fake_checker.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "platform/widgets/desktop.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#ifdef _WIN32
#include "platform/win32/wide_text.h"
#endif

namespace {

// The default brackets of the combined report, in the report's encoding (their bytes are the
// settings tests' concern).
const std::string Open = NarrowText("【"), Close = NarrowText("】");

// What the fake checker's "pages" action leaves for a page.
std::string ReportOf(const std::string& page) {
    return "[" + page + "]" + FakeReport;
}

std::string Section(const std::string& page) {
    return "\r\n\r\n" + Open + page + Close + "\r\n" + ReportOf(page);
}

class MainFormRunTest : public TProgramTest {
protected:
    MainFormRunTest() {
        OverrideShellOpener([this](const std::string& item) { Opened.push_back(item); });
    }
    ~MainFormRunTest() override { OverrideShellOpener({}); }

    // Configures one site with the given pages and the fake checker doing action, and runs
    // the scan.
    TMainForm* Prepare(const Strings& pages, const std::string& outputFile = "out.txt",
                       const std::string& action = "pages") {
        for (const std::string& page : pages) {
            Dir.Write("site/" + page, "<p>");
        }
        const std::string output = outputFile.empty() ? "" : Path(outputFile);
        Configure(Path("site/"), output, FakeChecker(output, action));
        return StartAndScan();
    }

    Strings Opened;
};

TEST_F(MainFormRunTest, TheCombinedReportHoldsEveryPageByteForByte) {
    TMainForm* form = Prepare({"a.html", "b b.html"});
    const std::string a = Path("site/a.html"), b = Path("site/b b.html");
    EXPECT_EQ(Items(*form), (Strings{a, b}));
    Click(*form->BExecLint);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(a) + Section(b));
    EXPECT_EQ(ReadAll(Path("out.bak")), ReportOf(b));
    EXPECT_EQ(form->LStatus->Text(), NarrowText("全て終了しました"));
    EXPECT_EQ(Opened, Strings{DesktopTarget(Path("out.txt"))});
    EXPECT_EQ(Checked(*form), Strings{});
    EXPECT_FALSE(form->BExecLint->Enabled());
    EXPECT_TRUE(form->BClose->Enabled());
    EXPECT_TRUE(form->CloseCommandEnabled());
}

#ifndef _WIN32
// No shell ever sees a Linux file name, whose bytes may be anything but "/" and NUL.
TEST_F(MainFormRunTest, APathWithShellCharactersArrivesAsOneArgument) {
    const std::string page = "x $(touch pwned); y'z\" `id` *.html";
    TMainForm* form = Prepare({page});
    Click(*form->BExecLint);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(Path("site/" + page)));
    EXPECT_FALSE(std::filesystem::exists(Path("pwned")));
}

#else
// E3 80 B1 is a kanji and a half-width katakana in code page 932, and the UTF-8 of another
// character as well: the status line shows such a page's name as the list does, since all the
// window shows is in the code page.
TEST_F(MainFormRunTest, APageNameThatReadsAsUtf8TooIsShownAsTheListShowsIt) {
    TMainForm* form = Prepare({"\xE3\x80\xB1.html"});
    const std::string page = Path("site/\xE3\x80\xB1.html");
    Strings shown;
    TPaintLog log(*form->LStatus);
    log.OnPaint = [&] { shown.push_back(ShownText(*form->LStatus)); };
    Click(*form->BExecLint);
    const std::string processing = "(0/1) " + Narrow(CP_UTF8, AnsiText(page)) + " 処理中";
    EXPECT_NE(std::find(shown.begin(), shown.end(), processing), shown.end())
        << "the status line never showed " << processing
        << "; its last text: " << (shown.empty() ? "" : shown.back());
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(page));
}
#endif

TEST_F(MainFormRunTest, EachPagesStatusIsOnTheScreenWhileItsCheckerRuns) {
    const std::string painted = Path("painted.txt");
    TMainForm* form =
        Prepare({"a.html", "b.html", "c.html"}, "out.txt", "last-line \"" + painted + "\"");
    form->CLBLintFile->SetItemChecked(0, false);
    // Every text that the status line paints goes to a file, one a line, for the checker.
    TPaintLog log(*form->LStatus);
    log.OnPaint = [&] {
        std::ofstream(painted, std::ios::app | std::ios::binary) << form->LStatus->Text() << "\n";
    };
    Click(*form->BExecLint);
    const std::string b = Path("site/b.html"), c = Path("site/c.html");
    EXPECT_EQ(ReadAll(Path("out.txt")), "\r\n\r\n" + Open + b + Close + "\r\n(1/3) " + b +
                                            NarrowText(" 処理中\n") + "\r\n\r\n" + Open + c +
                                            Close + "\r\n(2/3) " + c + NarrowText(" 処理中\n"));
}

TEST_F(MainFormRunTest, AMenuOpenedDuringTheRunHoldsItAndItsCommandDecidesWhatFollows) {
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"});
    bool clearedWhenTheMenuReturned = false;
    RunSoon([&] {
        ChoosePopupCommand(*form, *form->CLBLintFile, {}, {"ﾁｪｯｸｸﾘｱ"}, true);
        clearedWhenTheMenuReturned = Checked(*form).empty();
    });
    Click(*form->BExecLint);
    EXPECT_TRUE(clearedWhenTheMenuReturned);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(Path("site/a.html")));
}

// While a checker runs the window paints, and what the user does meanwhile waits for that
// checker's end; then it takes effect in the order given: the click on a check box, then the
// menu key.
TEST_F(MainFormRunTest, WhileACheckerRunsTheWindowPaintsAndTheUsersInputWaitsForItsEnd) {
    const std::string go = Path("go"), out = Path("out.txt");
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"}, "out.txt", "wait-for \"" + go + "\"");
    const std::string a = Path("site/a.html"), b = Path("site/b.html");
    bool asked = false, paintedWhileRunning = false, checkedWhileRunning = false;
    bool menuAfterTheChecker = false, checkedAtTheMenu = true;
    // The first checker ends once the window has painted during it and the events have gone
    // round a few times more, time enough for the input to arrive if nothing held it.
    int rounds = 0;
    std::function<void()> release = [&] {
        if (++rounds < 3) {
            RunSoon(release);
            return;
        }
        checkedWhileRunning = form->CLBLintFile->ItemChecked(2);
        std::ofstream(go) << "go";
    };
    TPaintLog log(*form->CLBLintFile);
    log.OnPaint = [&] {
        if (asked && !paintedWhileRunning) {
            paintedWhileRunning = ReadAll(out).empty();
            RunSoon(release);
        }
    };
    TPopupMenus menus(*form, {});
    menus.OnOpen = [&] {
        menuAfterTheChecker = ReadAll(out) == ReportOf(a);
        checkedAtTheMenu = form->CLBLintFile->ItemChecked(2);
    };
    // Once the run has begun: the first checker waits for go until then.
    std::function<void()> whileTheFirstCheckerRuns = [&] {
        if (form->BExecLint->Enabled()) {
            RunSoon(whileTheFirstCheckerRuns);
            return;
        }
        const TRect third = form->CLBLintFile->ItemRect(2);
        QueueClick(*form->CLBLintFile, TMouseButton::Left,
                   {third.Left + 3, third.Top + third.Height() / 2});
        QueueMenuKey(*form);
        asked = true;
        AskForPaint(*form->CLBLintFile);
    };
    RunSoon(whileTheFirstCheckerRuns);
    Click(*form->BExecLint);
    EXPECT_TRUE(paintedWhileRunning);
    EXPECT_TRUE(checkedWhileRunning);
    EXPECT_TRUE(menuAfterTheChecker);
    EXPECT_FALSE(checkedAtTheMenu);
    EXPECT_EQ(ReadAll(out), Section(a) + Section(b));
}

TEST_F(MainFormRunTest, WhatTheUserUnchecksDuringTheRunIsSkippedAndClosingIsRefused) {
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"});
    bool shownAfterCloseAttempts = false;
    RunSoon([&] {
        // A click in the check column of the third item, as the user would make it.
        const TRect third = form->CLBLintFile->ItemRect(2);
        Click(*form->CLBLintFile, TMouseButton::Left,
              {third.Left + 3, third.Top + third.Height() / 2});
        if (std::optional<bool> greyed = CloseBoxGreyed(*form)) {
            EXPECT_TRUE(*greyed);
        }
        if (std::optional<bool> allowed = SessionEndAllowed(*form)) {
            EXPECT_FALSE(*allowed) << "a sign-out would lose the run";
        }
        form->Close();
        TryToClose(*form);
        PressAltLetter(*form, 'c');
        shownAfterCloseAttempts =
            IsShown(*form) && !form->CloseCommandEnabled() && !form->BClose->Enabled();
    });
    Click(*form->BExecLint);
    EXPECT_TRUE(shownAfterCloseAttempts);
    EXPECT_EQ(ReadAll(Path("out.txt")),
              Section(Path("site/a.html")) + Section(Path("site/b.html")));
    EXPECT_EQ(Checked(*form), Strings{});
    if (std::optional<bool> allowed = SessionEndAllowed(*form)) {
        EXPECT_TRUE(*allowed);
    }
    // The window kept the keyboard: its close button answers Alt+C without a click.
    PressAltLetter(*form, 'c');
    EXPECT_TRUE(WaitFor([&] { return !IsShown(*form); }));
}

TEST_F(MainFormRunTest, ASaveGivenUpShowsNoSuccessButClosingWorks) {
    TMainForm* form = Prepare({"a.html"});
    std::filesystem::remove(Path("out.txt"));
    std::filesystem::create_directory(Path("out.txt"));
    TMessageBoxes boxes(TMessageBoxes::Cancel);
    Click(*form->BExecLint);
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_EQ(ShownText(*form->LStatus), boxes.Texts[0]);
    EXPECT_TRUE(Opened.empty());
    EXPECT_TRUE(form->BClose->Enabled());
    EXPECT_TRUE(form->CloseCommandEnabled());
    EXPECT_FALSE(form->BExecLint->Enabled());
}

TEST_F(MainFormRunTest, WithoutAnOutputFileTheStartButtonSaysSoAndRunsNothing) {
    TMainForm* form = Prepare({"a.html"}, "");
    TMessageBoxes boxes;
    Click(*form->BExecLint);
    EXPECT_EQ(boxes.Texts, Strings{"出力ﾌｧｲﾙが設定されていません"});
    EXPECT_EQ(Checked(*form), Strings{Path("site/a.html")});
    EXPECT_TRUE(Opened.empty());
}

} // namespace
