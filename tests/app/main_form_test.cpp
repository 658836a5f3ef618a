#include "main_form_fixture.h"

#include "app/main.h"
#include "app/status_texts.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "platform/widgets/application.h"

#include <algorithm>
#include <filesystem>

namespace {

// The output file's rule needs the pages the scan lists: nothing is touched before the scan,
// and the reset is done by the time the start button can be pressed.
TEST_F(MainFormTest, TheScanMovesThePreviousReportToTheBackupBeforeTheStartButtonIsOn) {
    Configure(Dir.MakeDir("site"));
    Dir.Write("out.txt", "previous report");
    Dir.Write("out.bak", "older report");
    TMainForm* form = Create();
    EXPECT_EQ(ReadAll(Path("out.txt")), "previous report");
    EXPECT_FALSE(form->BExecLint->Enabled());
    ShowAndWait(*form);
    ASSERT_TRUE(WaitFor([&] { return form->BExecLint->Enabled(); }));
    EXPECT_EQ(ReadAll(Path("out.txt")), "");
    EXPECT_EQ(ReadAll(Path("out.bak")), "previous report");
}

TEST_F(MainFormTest, TheWindowIsLaidOutAsDesigned) {
    Configure(Dir.MakeDir("site"));
    TMainForm* form = StartAndScan();
    EXPECT_EQ(form->Text(), "All Vornaxel Check");
    EXPECT_EQ(form->BoundsRect().Width(), 592);
    EXPECT_EQ(form->BoundsRect().Height(), 229);
    EXPECT_FALSE(IsResizable(*form));
    EXPECT_EQ(form->Panel1->BoundsRect(), (TRect{0, 198, 592, 229}));
    EXPECT_EQ(form->LStatus->BoundsRect(), (TRect{8, 10, 425, 22}));
    EXPECT_EQ(form->BClose->BoundsRect(), (TRect{512, 3, 587, 28}));
    EXPECT_EQ(form->BExecLint->BoundsRect(), (TRect{432, 3, 507, 28}));
    EXPECT_EQ(form->CLBLintFile->BoundsRect(), (TRect{0, 0, 592, 198}));
    EXPECT_EQ(form->BClose->Text(), NarrowText("閉じる(&C)"));
    EXPECT_EQ(form->BExecLint->Text(), NarrowText("ﾁｪｯｸ開始(&S)"));
    Strings captions;
    for (int i = 0; i < form->PopupMenu->Items().Count(); ++i) {
        captions.push_back(form->PopupMenu->Items().Items(i)->Caption);
    }
    EXPECT_EQ(captions,
              (Strings{NarrowText("ﾁｪｯｸｸﾘｱ"), NarrowText("全てﾁｪｯｸ"),
                       NarrowText("変更されたﾌｧｲﾙのみﾁｪｯｸ"), "-", NarrowText("特定ｻｲﾄのみﾁｪｯｸ")}));
    // The close button has the focus; Tab goes on to the start button, then to the list.
    EXPECT_TRUE(WaitFor([&] { return HasFocus(*form->BClose); }));
    PressKey(*form->BClose, TKey::Tab);
    EXPECT_TRUE(WaitFor([&] { return HasFocus(*form->BExecLint); }));
    PressKey(*form->BExecLint, TKey::Tab);
    EXPECT_TRUE(HasFocus(*form->CLBLintFile));
}

TEST_F(MainFormTest, TheScanListsEverySiteInOrderAllChecked) {
    Dir.Write("a/index.html", "");
    Dir.Write("a/b.htm", "");
    Dir.Write("a/sub/c.html", "");
    Dir.Write("a/sub/d.HTM", "");
    Dir.Write("a/notes.txt", "");
    Dir.Write("b/z.html", "");
    // A folder that does not exist, and a file written as a site without its final separator.
    Configure(Path("b/") + "," + Path("missing/") + "," + Path("a/") + "," + Path("a/notes.txt"));
    TMessageBoxes boxes;
    TMainForm* form = Create();
    // What the status line shows each time it is painted, from before the window shows.
    Strings painted;
    TPaintLog log(*form->LStatus);
    log.OnPaint = [&] {
        if (painted.empty() || painted.back() != form->LStatus->Text()) {
            painted.push_back(form->LStatus->Text());
        }
    };
    ShowAndWait(*form);
    EXPECT_TRUE(WaitFor([&] { return form->BExecLint->Enabled(); }));
    EXPECT_EQ(Items(*form), (Strings{Path("b/z.html"), Path("a/index.html"), Path("a/sub/c.html"),
                                     Path("a/b.htm"), Path("a/sub/d.HTM")}));
    EXPECT_EQ(Checked(*form), Items(*form));
    EXPECT_EQ(form->LStatus->Text(), StatusFileCount(5, 2));
    EXPECT_EQ(form->LStatus->Text(), NarrowText("5 HTMLﾌｧｲﾙ  ｻｲﾄ 2 件が見つかりません"));
    // The window shows before the scan starts, and the scan shows its steps as it goes.
    ASSERT_GE(painted.size(), 3u);
    EXPECT_EQ(Strings(painted.begin(), painted.begin() + 3),
              (Strings{"", StatusSearching, StatusListing}));
    // The sites that could not be searched are named after the scan, in one box.
    EXPECT_EQ(boxes.Texts, Strings{"次の 2 件のｻｲﾄのﾌｫﾙﾀﾞが見つからないか読めないので、そのﾌｧｲﾙは"
                                   "ﾘｽﾄにありません:\n" +
                                   Path("missing/") + "\n" + Path("a/notes.txt/")});
}

TEST_F(MainFormTest, NoSitesGiveAnEmptyListAndAUsableStartButton) {
    Configure("");
    TMessageBoxes boxes;
    TMainForm* form = StartAndScan();
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_TRUE(boxes.Texts[0].starts_with("KESTOLA.INI にｻｲﾄの一覧")) << boxes.Texts[0];
    EXPECT_EQ(form->CLBLintFile->Items().Count(), 0);
    EXPECT_EQ(form->LStatus->Text(), NarrowText("0 HTMLﾌｧｲﾙ"));
    EXPECT_EQ(form->PMSiteCheck->Count(), 0);
    form->PMSiteCheck->Click();
    EXPECT_EQ(form->LStatus->Text(), NarrowText("0 HTMLﾌｧｲﾙ"));
}

TEST_F(MainFormTest, SiteItemsAreCaptionedByTheirDirectoryName) {
    Configure("\"" + Path("my site/") + "\"," + Path("日本/") + "," + Path("web/shop") + "," +
              Path("x/shop/"));
    TMessageBoxes boxes; // none of the folders exists
    TMainForm* form = StartAndScan();
    Strings captions;
    for (int i = 0; i < form->PMSiteCheck->Count(); ++i) {
        captions.push_back(form->PMSiteCheck->Items(i)->Caption);
        EXPECT_EQ(form->PMSiteCheck->Items(i)->Tag, i);
    }
    // "web/shop", written without its final separator, gets one; it shares its name with
    // "x/shop/", and both say more of their paths.
    EXPECT_EQ(captions,
              (Strings{"my site", NarrowText("日本"), Path("web/shop").substr(Dir.Path().size()),
                       Path("x/shop").substr(Dir.Path().size())}));
}

// The three commands of the popup menu, chosen in the real menu; the sites' prefix rule.
TEST_F(MainFormTest, SiteCommandsCheckExactlyTheFilesUnderTheDirectoryAsWritten) {
    Dir.Write("web/top.html", "");
    Dir.Write("web/shop/s.html", "");
    Dir.Write("web/shop2/t.html", "");
    const std::string web = Path("web/");
    Configure(web + "shop" + PathDelim + "," + web + "shop2," + web);
    TMainForm* form = StartAndScan();
    const Strings all{Path("web/shop/s.html"), Path("web/shop2/t.html"), Path("web/top.html")};
    EXPECT_EQ(Items(*form), all);

    TCheckListBox& list = *form->CLBLintFile;
    list.SetFocus();
    // "web/shop/" is no prefix of "web/shop2/...", and "web/shop2" is one with its separator.
    ChoosePopupCommand(*form, list, {}, {"特定ｻｲﾄのみﾁｪｯｸ", "shop"}, true);
    EXPECT_EQ(Checked(*form), Strings{Path("web/shop/s.html")});
    SiteItem(*form, "shop2")->Click();
    EXPECT_EQ(Checked(*form), Strings{Path("web/shop2/t.html")});
    SiteItem(*form, "web")->Click();
    EXPECT_EQ(Checked(*form), all);
    ChoosePopupCommand(*form, list, {100, 100}, {"ﾁｪｯｸｸﾘｱ"});
    EXPECT_EQ(Checked(*form), Strings{});
    EXPECT_EQ(ReadAccessibleItem(list, 1).Check, "unchecked");
    ChoosePopupCommand(*form, *form->LStatus, {5, 5}, {"全てﾁｪｯｸ"});
    EXPECT_EQ(Checked(*form), all);

    // A screen reader hears the list's name, and the focus where the keyboard is, only there.
    EXPECT_EQ(AccessibleName(list), "ﾁｪｯｸするﾌｧｲﾙの一覧");
    list.SetFocus();
    ASSERT_TRUE(WaitFor([&] { return HasFocus(list); }));
    list.SetItemIndex(1);
    EXPECT_EQ(ReadAccessibleItem(list, 1),
              (TAccessibleItem{Items(*form)[1], "checked", true, true}));
    PressKey(list, TKey::Tab);
    ASSERT_TRUE(WaitFor([&] { return HasFocus(*form->BClose); }));
    EXPECT_FALSE(ReadAccessibleItem(list, 1).Focused);
}

// The scan runs whatever the reset did; the status line begins to say why the output file
// cannot be used, which the start button then says whole, in the program's own words.
TEST_F(MainFormTest, AFailedResetCountsAsNoOutputFileAndTheStartButtonSaysWhy) {
    const std::string page = Dir.Write("site/a.html", "");
    const std::string output = Path("no such folder/out.txt");
    Configure(Path("site/"), output);
    TMessageBoxes boxes;
    TMainForm* form = StartAndScan();
    EXPECT_EQ(Items(*form), Strings{page});
    const std::string status = form->LStatus->Text();
    EXPECT_TRUE(status.starts_with(StatusResetFailed(StatusFileCount(1), ""))) << status;
    EXPECT_NE(status.find(output), std::string::npos) << status;
    EXPECT_TRUE(boxes.Texts.empty());
    Click(*form->BExecLint);
    ASSERT_EQ(boxes.Texts.size(), 1u);
    const std::string why = "出力ﾌｧｲﾙを空にできませんでした: ﾌｧｲﾙを作れません: " + output + " (";
    EXPECT_TRUE(boxes.Texts[0].starts_with(why) && boxes.Texts[0].ends_with(")")) << boxes.Texts[0];
    EXPECT_GT(boxes.Texts[0].size(), why.size() + 1);
}

// A second program on the output file of a first would empty the file that the first one's
// checker is writing and replace its backup. It says so, shows the first and touches nothing.
// The file is known by where it lies: before it exists, and however a copy of the program in
// another folder names it.
TEST_F(MainFormTest, ASecondStartOnTheSameOutputFileSaysSoShowsTheFirstAndTouchesNothing) {
    Dir.Write("site/a.html", "");
    const std::string output = Path("results/report.txt");
    const std::string backup = Dir.Write("results/report.bak", "older report");
    Configure(Path("site/"), output);
    TMainForm* first = Create();
#ifdef _WIN32
    const std::string sameFile = Dir.Path() + "site\\..\\RESULTS/Report.TXT";
#else
    std::filesystem::create_directory_symlink(Path("results"), Path("linked"));
    const std::string sameFile = Path("linked/report.txt");
#endif
    Dir.Write("copy/KESTOLA.INI", "[Directory]\r\nLocalPath=" + Path("site/") + "\r\n");
    const auto startCopy = [&](const std::string& outputFile) {
        Dir.Write("copy/allcheck.INI", "[Program]\nOutputFile=" + outputFile + "\n");
        OverrideExeName(Path("copy/allcheck"));
        TMainForm* form = Create();
        OverrideExeName(Path("allcheck"));
        return form->SecondStart;
    };
    TMessageBoxes boxes;
    EXPECT_TRUE(startCopy(sameFile));
    EXPECT_FALSE(FileExists(output));
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_EQ(boxes.Texts[0], "このﾌﾟﾛｸﾞﾗﾑは同じ出力ﾌｧｲﾙでもう動いています。そちらのｳｨﾝﾄﾞｳを"
                              "使ってください:\n" +
                                  sameFile);

    // The first one's checker writes its report; the user has minimised its window.
    ShowAndWait(*first);
    ASSERT_TRUE(WaitFor([&] { return first->BExecLint->Enabled(); }));
    Dir.Write("results/report.txt", "a report being written");
    Minimise(*first);
    ASSERT_FALSE(IsInFront(*first));
    EXPECT_TRUE(startCopy(sameFile));
    EXPECT_TRUE(WaitFor([&] { return IsInFront(*first); }));
    EXPECT_EQ(ReadAll(output), "a report being written");
    EXPECT_EQ(ReadAll(backup), "older report");

    // Another file of the same folder is another program's; the first one's is free once it ends.
    EXPECT_FALSE(startCopy(Path("results/other.txt")));
    TestApplication().DestroyForms();
    EXPECT_FALSE(startCopy(sameFile));
    EXPECT_EQ(boxes.Texts.size(), 2u);
}

TEST_F(MainFormTest, TheCloseButtonClosesTheWindow) {
    Configure(Dir.MakeDir("site"));
    TMainForm* form = StartAndScan();
    EXPECT_TRUE(IsShown(*form));
    Click(*form->BClose);
    EXPECT_FALSE(IsShown(*form));
}

// As the dialog manager of Windows has it: a button with the focus takes no letters.
TEST_F(MainFormTest, WithAButtonFocusedTheLetterOfAnAcceleratorPressesItsButton) {
    Configure(Dir.MakeDir("site"), "");
    TMainForm* form = StartAndScan();
    ASSERT_TRUE(WaitFor([&] { return HasFocus(*form->BClose); }));
    // As with Alt, the focus moves to the button pressed: it has it when its click comes.
    bool focusedWhenClicked = false;
    form->BExecLint->OnClick = [&, click = form->BExecLint->OnClick](TObject* sender) {
        focusedWhenClicked = HasFocus(*form->BExecLint);
        click(sender);
    };
    TMessageBoxes boxes;
    TypeText(*form->BClose, "s");
    EXPECT_TRUE(WaitFor([&] { return !boxes.Texts.empty(); }));
    EXPECT_EQ(boxes.Texts, Strings{"出力ﾌｧｲﾙが設定されていません"});
    EXPECT_TRUE(focusedWhenClicked);
    TypeText(*form->BClose, "c");
    EXPECT_TRUE(WaitFor([&] { return !IsShown(*form); }));
}

// Known by the scan's list alone: the output file is a second name of a page, outside the site.
TEST_F(MainFormTest, AnOutputFileThatIsAListedPageIsRefusedAndLeftAsItWas) {
    const std::string page = Dir.Write("site/a.html", "<p>page</p>");
    const std::string output = Path("out.txt");
    std::filesystem::create_hard_link(page, output);
    Configure(Path("site/"), output);
    TMessageBoxes boxes;
    TMainForm* form = StartAndScan();
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_TRUE(boxes.Texts[0].ends_with(page + " と同じﾌｧｲﾙなので使いません: " + output))
        << boxes.Texts[0];
    EXPECT_EQ(ReadAll(page), "<p>page</p>");
    EXPECT_FALSE(FileExists(Path("out.bak")));
    EXPECT_EQ(Items(*form), Strings{page});
    // The start button and the status line keep saying why.
    Click(*form->BExecLint);
    EXPECT_EQ(boxes.Texts.back(), boxes.Texts[0]);
    EXPECT_TRUE(ShownText(*form->LStatus).ends_with(boxes.Texts[0])) << ShownText(*form->LStatus);
    EXPECT_EQ(ReadAll(page), "<p>page</p>");
}

// The journal beside the output file obeys the output file's rule: a second name of a page
// there refuses the output file, and the page is never written.
TEST_F(MainFormTest, AJournalNameThatLeadsToAPageRefusesTheOutputFile) {
    const std::string page = Dir.Write("site/a.html", "<p>page</p>");
    const std::string journal = Path("out.txt.part");
    std::filesystem::create_hard_link(page, journal);
    Configure(Path("site/"), Path("out.txt"));
    TMessageBoxes boxes;
    TMainForm* form = StartAndScan();
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_TRUE(boxes.Texts[0].ends_with(page + " と同じﾌｧｲﾙなので使いません: " + journal))
        << boxes.Texts[0];
    Click(*form->BExecLint);
    EXPECT_EQ(boxes.Texts.back(), boxes.Texts[0]);
    EXPECT_EQ(ReadAll(page), "<p>page</p>");
}

// A NUL byte ends a name for the system: an output file "a.html<NUL>.txt" would be the page.
TEST_F(MainFormTest, SettingsHoldingANulByteAreRefusedByNameAndCountAsNotSet) {
    using namespace std::string_literals;
    const std::string page = Dir.Write("site/a.html", "<p>page</p>");
    Dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=\"" + Path("site/") + "\0x\"\r\n"s);
    Dir.Write("allcheck.INI", "[Program]\nVornaxelBatch=checker\0x\nOutputFile="s + page +
                                  "\0.txt\nOpenParen=<\0<\nCloseParen=>\0>\n"s);
    TMessageBoxes boxes;
    TMainForm* form = StartAndScan();
    const Strings settings{"LocalPath", "VornaxelBatch", "OutputFile", "OpenParen", "CloseParen"};
    ASSERT_EQ(boxes.Texts.size(), settings.size());
    for (std::size_t i = 0; i < settings.size(); ++i) {
        EXPECT_TRUE(boxes.Texts[i].starts_with("設定 " + settings[i] + " ")) << boxes.Texts[i];
    }
    EXPECT_EQ(ReadAll(page), "<p>page</p>");
    EXPECT_FALSE(FileExists(Path("site/a.bak")));
    EXPECT_EQ(form->CLBLintFile->Items().Count(), 0);
    EXPECT_EQ(form->Settings.LintProgram, "");
    EXPECT_EQ(form->Settings.OpenParen, NarrowText("【"));
    Click(*form->BExecLint);
    EXPECT_EQ(boxes.Texts.back(), "出力ﾌｧｲﾙが設定されていません");
}

} // namespace
