// The batch run through the main window: its controls during and after a run, and what the
// user does meanwhile. The run itself is tested without a window in batch_run_test.cpp.
#include "main_form_run_fixture.h"

#include "app/status_texts.h"
#include "platform/file_names.h"
#include "platform/widgets/application.h"
#include "platform/narrow_text.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// The question that closing the window asks during a run, as a box shows it (in UTF-8).
const std::string StopQuestionShown =
    "ﾁｪｯｸを中止しますか?\n終わったﾌｧｲﾙの結果は保存され、次に起動した"
    "ときに続きからﾁｪｯｸできます";

const TProgressState Normal = TProgressState::Normal, Paused = TProgressState::Paused;

TEST_F(MainFormRunTest, TheCombinedReportHoldsEveryPageByteForByte) {
    TMainForm* form = Prepare({"a.html", "b b.html"});
    const std::string a = Path("site/a.html"), b = Path("site/b b.html");
    EXPECT_EQ(Items(*form), (Strings{a, b}));
    Click(*form->BExecLint);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(a) + Section(b));
    EXPECT_EQ(ReadAll(Path("out.bak")), ReportOf(b));
    EXPECT_EQ(form->LStatus->Text(), NarrowText("全て終了しました"));
    EXPECT_EQ(Opened, Strings{DesktopTarget(Path("out.txt"))});
    EXPECT_EQ(Shown,
              (std::vector<TTaskProgress>{{Normal, 0, 2}, {Normal, 1, 2}, {Normal, 2, 2}, {}}));
    EXPECT_EQ(Checked(*form), Strings{});
    EXPECT_FALSE(form->BExecLint->Enabled());
    EXPECT_TRUE(form->BClose->Enabled());
    EXPECT_TRUE(form->CloseCommandEnabled());
}

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
    const std::string go = Path("go");
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"}, "out.txt", "wait-for \"" + go + "\"");
    bool openedBetweenTheFirstTwoPages = false;
    TPopupMenus menus(*form, {"ﾁｪｯｸｸﾘｱ"});
    menus.OnOpen = [&] {
        openedBetweenTheFirstTwoPages =
            !form->CLBLintFile->ItemChecked(0) && form->CLBLintFile->ItemChecked(1);
    };
    // The menu key pressed while the first page's checker runs opens the menu in the pause
    // after it.
    std::function<void()> whileTheFirstCheckerRuns = [&] {
        if (form->BExecLint->Enabled()) {
            RunSoon(whileTheFirstCheckerRuns);
            return;
        }
        QueueMenuKey(*form);
        std::ofstream(go) << "go";
    };
    RunSoon(whileTheFirstCheckerRuns);
    Click(*form->BExecLint);
    EXPECT_TRUE(openedBetweenTheFirstTwoPages);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(Path("site/a.html")));
    EXPECT_EQ(Shown, (std::vector<TTaskProgress>{
                         {Normal, 0, 3}, {Normal, 1, 3}, {Paused, 1, 3}, {Normal, 1, 3}, {}}));
}

// The list follows the run down until the user scrolls it elsewhere.
TEST_F(MainFormRunTest, TheListShowsThePageBeingCheckedAsFarAsTheUserLetsIt) {
    Strings pages;
    for (char first = 'a'; first <= 'z'; ++first) {
        pages.push_back(std::string(1, first) + std::string(1, first) + ".html");
    }
    TMainForm* form = Prepare(pages);
    TCheckListBox& list = *form->CLBLintFile;
    ASSERT_LT(list.VisibleItemCount(), 20);
    int scrolledAt = -1, topAfterwards = -1;
    bool lastCheckedShown = false;
    // The page that the run took last is the one that the status line names, whether its
    // checker runs or has just ended.
    std::function<void()> watch = [&] {
        const std::string status = form->LStatus->Text();
        const int current = status.starts_with("(") ? std::stoi(status.substr(1)) : -1;
        if (scrolledAt < 0 && current >= 19) {
            lastCheckedShown =
                current >= list.TopIndex() && current < list.TopIndex() + list.VisibleItemCount();
            list.SetTopIndex(0);
            scrolledAt = current;
        } else if (scrolledAt >= 0 && current >= scrolledAt + 2) {
            topAfterwards = list.TopIndex();
            return;
        }
        RunSoon(watch);
    };
    RunSoon(watch);
    Click(*form->BExecLint);
    EXPECT_TRUE(lastCheckedShown);
    EXPECT_EQ(topAfterwards, 0);
    EXPECT_EQ(list.TopIndex(), 0);
}

// While a checker runs the window paints, and what the user does meanwhile waits for that
// checker's end; then it takes effect in the order given: the click on a check box, then the
// menu key. A screen reader's toggle waits as well.
TEST_F(MainFormRunTest, WhileACheckerRunsTheWindowPaintsAndTheUsersInputWaitsForItsEnd) {
    const std::string go = Path("go"), out = Path("out.txt");
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"}, "out.txt", "wait-for \"" + go + "\"");
    const std::string a = Path("site/a.html");
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
        checkedWhileRunning =
            form->CLBLintFile->ItemChecked(1) && form->CLBLintFile->ItemChecked(2);
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
        DoAccessibleAction(*form->CLBLintFile, 1);
        asked = true;
        AskForPaint(*form->CLBLintFile);
    };
    RunSoon(whileTheFirstCheckerRuns);
    Click(*form->BExecLint);
    EXPECT_TRUE(paintedWhileRunning);
    EXPECT_TRUE(checkedWhileRunning);
    EXPECT_TRUE(menuAfterTheChecker);
    EXPECT_FALSE(checkedAtTheMenu);
    EXPECT_EQ(ReadAll(out), Section(a));
}

// A right click and then keys during a checker: the menu opens after it, and the keys go to the
// menu, not to the list. Up and Right lead into the site submenu, whose one site checks every
// page again, the first one too; keys that reached the list first would leave the menu with none
// (closed here), and the run would end with no page checked.
TEST_F(MainFormRunTest, KeysAfterARightClickDuringACheckerGoToTheMenuItOpens) {
    const std::string go = Path("go");
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"}, "out.txt", "wait-for \"" + go + "\"");
    TPopupMenus menus(*form, {});
    std::function<void()> whileTheFirstCheckerRuns = [&] {
        if (form->BExecLint->Enabled()) {
            RunSoon(whileTheFirstCheckerRuns);
            return;
        }
        const TRect second = form->CLBLintFile->ItemRect(1);
        QueueClick(*form->CLBLintFile, TMouseButton::Right,
                   {second.Left + second.Width() / 2, second.Top + second.Height() / 2});
        for (const TKey key : {TKey::Up, TKey::Right, TKey::Enter}) {
            QueueKey(*form, key);
        }
        std::ofstream(go) << "go";
    };
    RunSoon(whileTheFirstCheckerRuns);
    Click(*form->BExecLint);
    const std::string a = Path("site/a.html");
    EXPECT_EQ(Checked(*form), Strings{a});
    EXPECT_EQ(ReadAll(Path("out.txt")),
              Section(a) + Section(Path("site/b.html")) + Section(Path("site/c.html")));
}

// Every way of closing the window asks whether to stop the run; No lets it go on.
TEST_F(MainFormRunTest, WhatTheUserUnchecksDuringTheRunIsSkippedAndClosingAsksToStop) {
    TMainForm* form = Prepare({"a.html", "b.html", "c.html"});
    TMessageBoxes boxes(TMessageBoxes::No);
    bool shownAfterCloseAttempts = false;
    RunSoon([&] {
        // A click in the check column of the third item, as the user would make it.
        const TRect third = form->CLBLintFile->ItemRect(2);
        Click(*form->CLBLintFile, TMouseButton::Left,
              {third.Left + 3, third.Top + third.Height() / 2});
        if (std::optional<bool> greyed = CloseBoxGreyed(*form)) {
            EXPECT_FALSE(*greyed);
        }
        if (std::optional<bool> allowed = SessionEndAllowed(*form)) {
            EXPECT_FALSE(*allowed) << "a sign-out would cut the run short";
        }
        PressAltLetter(*form, 'c');
        form->Close();
        TryToClose(*form);
        shownAfterCloseAttempts = IsShown(*form) && form->BClose->Enabled();
    });
    Click(*form->BExecLint);
    EXPECT_TRUE(shownAfterCloseAttempts);
    // Close(), the frame's Close button, and the close button; Alt+F4 too where the toolkit
    // sees it.
    EXPECT_GE(boxes.Texts.size(), 3u);
    EXPECT_EQ(std::count(boxes.Texts.begin(), boxes.Texts.end(), StopQuestionShown),
              static_cast<std::ptrdiff_t>(boxes.Texts.size()));
    EXPECT_EQ(ReadAll(Path("out.txt")),
              Section(Path("site/a.html")) + Section(Path("site/b.html")));
    EXPECT_EQ(Checked(*form), Strings{});
    if (std::optional<bool> allowed = SessionEndAllowed(*form)) {
        EXPECT_TRUE(*allowed);
    }
    // After the run the close button closes without asking.
    const std::size_t asked = boxes.Texts.size();
    Click(*form->BClose);
    EXPECT_TRUE(WaitFor([&] { return !IsShown(*form); }));
    EXPECT_EQ(boxes.Texts.size(), asked);
}

// A run with three pages, stopped by Alt+F4 while the second page's checker runs and answered
// Yes: the checker ends at once, the first page is the combined report and stays in the journal,
// and the window closes. Then the program starts anew and asks whether to continue.
class MainFormStopTest : public MainFormRunTest {
protected:
    TMainForm* PrepareAndStop(TMessageBoxes::TAnswer continueAnswer) {
        TMainForm* form = Prepare({"a.html", "b.html", "c.html"}, "out.txt",
                                  "once-at \"" + Path("marker") + "\" b.html hang");
        Boxes.OnBox = [this, continueAnswer](const std::string& text) {
            Boxes.Answer = text == StopQuestionShown ? TMessageBoxes::Yes : continueAnswer;
        };
        std::function<void()> whileTheSecondCheckerRuns = [&] {
            if (!std::filesystem::exists(Path("marker"))) {
                RunSoon(whileTheSecondCheckerRuns);
                return;
            }
            QueueCloseKey(*form);
        };
        RunSoon(whileTheSecondCheckerRuns);
        Click(*form->BExecLint);
        EXPECT_TRUE(WaitFor([&] { return !IsShown(*form); }));
        EXPECT_EQ(ReadAll(Path("out.txt")), Section(A));
        TestApplication().DestroyForms();
        return StartAndScan();
    }

    TMessageBoxes Boxes{TMessageBoxes::Yes};
    const std::string A = Path("site/a.html"), B = Path("site/b.html"), C = Path("site/c.html");
};

// Yes to continue checks the pages left, and the run continued writes what one whole run would.
TEST_F(MainFormStopTest, ARunStoppedWhileACheckerRunsIsContinuedAtTheNextStart) {
    TMainForm* form = PrepareAndStop(TMessageBoxes::Yes);
    ASSERT_EQ(Boxes.Texts.size(), 2u);
    EXPECT_EQ(Boxes.Texts[0], StopQuestionShown);
    EXPECT_TRUE(Boxes.Texts[1].starts_with("前回のﾁｪｯｸが ")) << Boxes.Texts[1];
    EXPECT_NE(Boxes.Texts[1].find("(3 ﾌｧｲﾙ中 1 ﾌｧｲﾙ終了)"), std::string::npos);
    EXPECT_EQ(Checked(*form), (Strings{B, C}));
    EXPECT_EQ(ShownText(*form->LStatus),
              "中断したﾁｪｯｸの残り 2 ﾌｧｲﾙにﾁｪｯｸを付けました。ﾁｪｯｸ開始で続けます");
    Click(*form->BExecLint);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(A) + Section(B) + Section(C));
    EXPECT_EQ(ReadAll(Path("out.bak")), ReportOf(C));
    EXPECT_FALSE(std::filesystem::exists(JournalPathFor(Path("out.txt"))));
}

// No keeps the pages done as a report of its own, named in a box, and starts as ever.
TEST_F(MainFormStopTest, NoToContinueKeepsTheUnfinishedReport) {
    TMainForm* form = PrepareAndStop(TMessageBoxes::No);
    ASSERT_EQ(Boxes.Texts.size(), 3u);
    const std::string kept = "中断したﾁｪｯｸの結果をこのﾌｧｲﾙに残しました: ";
    ASSERT_TRUE(Boxes.Texts[2].starts_with(kept)) << Boxes.Texts[2];
    EXPECT_EQ(ReadAll(Boxes.Texts[2].substr(kept.size())), Section(A));
    EXPECT_EQ(Checked(*form), (Strings{A, B, C}));
    EXPECT_FALSE(std::filesystem::exists(JournalPathFor(Path("out.txt"))));
}

TEST_F(MainFormRunTest, ASaveGivenUpShowsNoSuccessButClosingWorks) {
    TMainForm* form = Prepare({"a.html"});
    std::filesystem::remove(Path("out.txt"));
    std::filesystem::create_directory(Path("out.txt"));
    TMessageBoxes boxes(TMessageBoxes::Cancel);
    Click(*form->BExecLint);
    ASSERT_EQ(boxes.Texts.size(), 2u);
    EXPECT_TRUE(ShownText(*form->LStatus).starts_with(boxes.Texts[0]));
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
