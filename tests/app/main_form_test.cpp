#include "program_fixture.h"

#include "app/main.h"
#include "app/status_texts.h"
#include "platform/widgets/qt/control_impl.h"
#include "support/message_box_catcher.h"
#include "support/popup_menu_chooser.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <filesystem>

namespace {

// Records the status line each time it is painted.
class TPaintedTexts : public QObject {
public:
    explicit TPaintedTexts(QLabel* label) : Label(label) { label->installEventFilter(this); }
    Strings Texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            (Texts.empty() || Texts.back() != Label->text().toStdString())) {
            Texts.push_back(Label->text().toStdString());
        }
        return false;
    }

private:
    QLabel* Label;
};

TMenuItem* SiteItem(const TMainForm& form, const std::string& caption) {
    for (int i = 0; i < form.PMSiteCheck->Count(); ++i) {
        if (form.PMSiteCheck->Items(i)->Caption == caption) {
            return form.PMSiteCheck->Items(i);
        }
    }
    return nullptr;
}

} // namespace

class MainFormTest : public QObject, private TProgramFixture {
    Q_OBJECT

private slots:
    void initTestCase() { InitApplication(); }
    void init() { InitProgram(); }
    void cleanup() { CleanupProgram(); }

    void startupMovesThePreviousReportToTheBackup() {
        Configure("");
        Dir->Write("out.txt", "previous report");
        Dir->Write("out.bak", "older report");
        TMainForm* form = Start();
        QCOMPARE(ReadAll(Path("out.txt")), std::string());
        QCOMPARE(ReadAll(Path("out.bak")), std::string("previous report"));
        QVERIFY(!form->BExecLint->Enabled());
    }

    void theWindowIsLaidOutAsDesigned() {
        Configure("");
        TMainForm* form = Start();
        QWidget* window = QtWidget(*form);
        QCOMPARE(window->windowTitle(), QString("All Vornaxel Check"));
        QCOMPARE(window->size(), QSize(592, 229));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(form->Panel1->BoundsRect(), (TRect{0, 198, 592, 229}));
        QCOMPARE(form->LStatus->BoundsRect(), (TRect{8, 10, 425, 22}));
        QCOMPARE(form->BClose->BoundsRect(), (TRect{512, 3, 587, 28}));
        QCOMPARE(form->BExecLint->BoundsRect(), (TRect{432, 3, 507, 28}));
        QCOMPARE(form->CLBLintFile->BoundsRect(), (TRect{0, 0, 592, 198}));
        QCOMPARE(form->BClose->Text(), std::string("閉じる(&C)"));
        QCOMPARE(form->BExecLint->Text(), std::string("ﾁｪｯｸ開始(&S)"));
        Strings captions;
        for (int i = 0; i < form->PopupMenu->Items().Count(); ++i) {
            captions.push_back(form->PopupMenu->Items().Items(i)->Caption);
        }
        QCOMPARE(captions, (Strings{"ﾁｪｯｸｸﾘｱ", "全てﾁｪｯｸ", "-", "特定ｻｲﾄのみﾁｪｯｸ"}));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(QApplication::focusWidget(), QtWidget(*form->BClose));
        QVERIFY(QtWidget(*form->BClose)->nextInFocusChain() == QtWidget(*form->BExecLint));
    }

    void theScanListsEverySiteInOrderAllChecked() {
        Dir->Write("a/index.html", "");
        Dir->Write("a/b.htm", "");
        Dir->Write("a/sub/c.html", "");
        Dir->Write("a/sub/d.HTM", "");
        Dir->Write("a/notes.txt", "");
        Dir->Write("b/z.html", "");
        const std::string a = Dir->Path() + "a/", b = Dir->Path() + "b/";
        Configure(b + "," + Dir->Path() + "missing/," + a);
        TMessageBoxCatcher boxes;
        TMainForm* form = Start();
        TPaintedTexts painted(static_cast<QLabel*>(QtWidget(*form->LStatus)));
        QTRY_VERIFY_WITH_TIMEOUT(form->BExecLint->Enabled(), 10000);
        QCOMPARE(Items(*form), (Strings{b + "z.html", a + "index.html", a + "sub/c.html",
                                        a + "b.htm", a + "sub/d.HTM"}));
        QCOMPARE(Checked(*form), Items(*form));
        QCOMPARE(form->LStatus->Text(), StatusFileCount(5));
        QCOMPARE(form->LStatus->Text(), std::string("5 HTMLﾌｧｲﾙ"));
        // The window shows before the scan starts, and the scan shows its steps as it goes.
        QVERIFY(painted.Texts.size() >= 3);
        QCOMPARE(Strings(painted.Texts.begin(), painted.Texts.begin() + 3),
                 (Strings{"", StatusSearching, StatusListing}));
        QVERIFY(boxes.Texts.isEmpty());
    }

    void noSitesGiveAnEmptyListAndAUsableStartButton() {
        Configure("");
        TMainForm* form = StartAndScan();
        QCOMPARE(form->CLBLintFile->Items().Count(), 0);
        QCOMPARE(form->LStatus->Text(), std::string("0 HTMLﾌｧｲﾙ"));
        QCOMPARE(form->PMSiteCheck->Count(), 0);
        form->PMSiteCheck->Click();
        QCOMPARE(form->LStatus->Text(), std::string("0 HTMLﾌｧｲﾙ"));
    }

    void siteItemsAreCaptionedByTheirDirectoryName() {
        Configure("\"" + Dir->Path() + "my site/\"," + Dir->Path() + "日本/," + Dir->Path() +
                  "web/shop," + Dir->Path() + "x/shop/");
        TMainForm* form = StartAndScan();
        Strings captions, names;
        for (int i = 0; i < form->PMSiteCheck->Count(); ++i) {
            captions.push_back(form->PMSiteCheck->Items(i)->Caption);
            names.push_back(form->PMSiteCheck->Items(i)->Name);
            QCOMPARE(form->PMSiteCheck->Items(i)->Tag, i);
        }
        QCOMPARE(captions, (Strings{"my site", "日本", "sho", "shop"}));
        QCOMPARE(names, (Strings{"PMSSite0", "PMSSite1", "PMSsho", "PMSshop"}));
    }

    void siteCommandsCheckExactlyTheFilesUnderTheDirectoryAsWritten() {
        Dir->Write("web/top.html", "");
        Dir->Write("web/shop/s.html", "");
        Dir->Write("web/shop2/t.html", "");
        std::filesystem::create_directory_symlink(Dir->Path() + "web/shop",
                                                  Dir->Path() + "web/Shop");
        const std::string web = Dir->Path() + "web/";
        Configure(web + "shop/," + web + "shop," + web + "," + web + "Shop/");
        TMainForm* form = StartAndScan();
        // "web/shop" lists nothing of its own: its mask asks for names beginning with "shop".
        QCOMPARE(Items(*form), (Strings{web + "shop/s.html", web + "top.html", web + "Shop/s.html",
                                        web + "shop2/t.html"}));

        {
            // Through the real menu once, as the user chooses a site.
            TPopupMenuChooser chooser({"特定ｻｲﾄのみﾁｪｯｸ", "shop"});
            QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(),
                                    QtWidget(*form)->mapToGlobal(QPoint()));
            QApplication::sendEvent(QtWidget(*form->CLBLintFile), &byKey);
        }
        QCOMPARE(Checked(*form), Strings{web + "shop/s.html"});
        SiteItem(*form, "sho")->Click();
        QCOMPARE(Checked(*form), (Strings{web + "shop/s.html", web + "shop2/t.html"}));
        SiteItem(*form, "web")->Click();
        QCOMPARE(Checked(*form), Items(*form));
        SiteItem(*form, "Shop")->Click();
        QCOMPARE(Checked(*form), Strings{web + "Shop/s.html"});

        form->PMCLear->Click();
        QCOMPARE(Checked(*form), Strings{});
        form->PMAllCheck->Click();
        QCOMPARE(Checked(*form), Items(*form));
    }

    void aFailureWhileCreatingIsShownAndTheWindowStaysWithoutAScan() {
        Dir->Write("site/a.html", "");
        Configure(Dir->Path() + "site/", Dir->Path() + "no such folder/out.txt");
        TMessageBoxCatcher boxes;
        TMainForm* form = Start();
        QTRY_COMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].contains("no such folder/out.txt"));
        QVERIFY(QTest::qWaitForWindowExposed(QtWidget(*form)));
        QTest::qWait(50);
        QCOMPARE(form->CLBLintFile->Items().Count(), 0);
        QVERIFY(!form->BExecLint->Enabled());
        QCOMPARE(form->PMSiteCheck->Count(), 1);
    }

    void theCloseButtonClosesTheWindow() {
        Configure("");
        TMainForm* form = StartAndScan();
        QVERIFY(QtWidget(*form)->isVisible());
        QTest::mouseClick(QtWidget(*form->BClose), Qt::LeftButton);
        QVERIFY(!QtWidget(*form)->isVisible());
    }

    void anOutputFileThatIsAPageIsRefusedAndLeftAsItWas() {
        const std::string page = Dir->Write("site/a.html", "<p>page</p>");
        Configure(Path("site/"), page);
        TMessageBoxCatcher boxes;
        TMainForm* form = StartAndScan();
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].endsWith(QString::fromStdString(": " + page)));
        QCOMPARE(ReadAll(page), std::string("<p>page</p>"));
        QVERIFY(!std::filesystem::exists(Path("site/a.bak")));
        QCOMPARE(Items(*form), Strings{page});
        QTest::mouseClick(QtWidget(*form->BExecLint), Qt::LeftButton);
        QCOMPARE(boxes.Texts.last(), QString("出力ﾌｧｲﾙが設定されていません"));
        QCOMPARE(ReadAll(page), std::string("<p>page</p>"));
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
