#include "program_fixture.h"

#include "platform/widgets/desktop.h"
#include "platform/widgets/qt/control_impl.h"
#include "support/message_box_catcher.h"
#include "support/popup_menu_chooser.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace std::string_literals;

namespace {

// The fake checker's report for a page: both line ends, NUL and bytes above 0x7F.
std::string ReportOf(const std::string& page) {
    return "report of " + page + "\r\nnul \0 \x80\xFF\x81\x79\nend"s;
}

const char* const FakeChecker = "#!/bin/sh\n"
                                "out=\"$1\"; shift\n"
                                "printf 'report of %s\\r\\nnul \\000 \\200\\377\\201\\171\\nend' "
                                "\"$*\" > \"$out\"\n"
                                "[ $# -eq 1 ] || echo \"$# arguments\" >> \"$out\"\n";

// Reports what the status line last painted, as the user saw it while the checker ran.
const char* const PaintedStatusChecker = "#!/bin/sh\n"
                                         "tail -n 1 \"$(dirname \"$0\")/painted.txt\" > \"$1\"\n";

// Appends every text that the label paints to a file, one a line.
class TPaintedTextFile : public QObject {
public:
    TPaintedTextFile(QWidget* label, std::string path) : Path(std::move(path)) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::ofstream(Path, std::ios::app)
                << static_cast<QLabel*>(watched)->text().toStdString() << "\n";
        }
        return false;
    }

private:
    std::string Path;
};

std::string Section(const std::string& page) {
    return "\r\n\r\n【" + page + "】\r\n" + ReportOf(page);
}

} // namespace

class BatchRunTest : public QObject, private TProgramFixture {
    Q_OBJECT

    Strings Opened;

    // Configures one site with the given pages and a fake checker, and runs the scan.
    TMainForm* Prepare(const Strings& pages, const std::string& outputFile = "out.txt",
                       const char* checkerScript = FakeChecker) {
        for (const std::string& page : pages) {
            Dir->Write("site/" + page, "<p>");
        }
        std::string checker = Dir->Write("checker.sh", checkerScript);
        ::chmod(checker.c_str(), 0755);
        std::string output = outputFile.empty() ? "" : Path(outputFile);
        Configure(Path("site/"), output, "'" + checker + "' '" + output + "'");
        return StartAndScan();
    }

    static void ClickStart(TMainForm& form) {
        QTest::mouseClick(QtWidget(*form.BExecLint), Qt::LeftButton);
    }

    static std::string FileUrl(const std::string& path) {
        return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
    }

private slots:
    void initTestCase() { InitApplication(); }
    void init() {
        InitProgram();
        Opened.clear();
        OverrideShellOpener([this](const std::string& url) { Opened.push_back(url); });
    }
    void cleanup() {
        OverrideShellOpener({});
        CleanupProgram();
    }

    void theCombinedReportHoldsEveryPageByteForByte() {
        TMainForm* form = Prepare({"a.html", "b b.html"});
        const std::string a = Path("site/a.html"), b = Path("site/b b.html");
        QCOMPARE(Items(*form), (Strings{a, b}));
        ClickStart(*form);
        QCOMPARE(ReadAll(Path("out.txt")), Section(a) + Section(b));
        QCOMPARE(ReadAll(Path("out.bak")), ReportOf(b));
        QCOMPARE(form->LStatus->Text(), std::string("全て終了しました"));
        QCOMPARE(Opened, Strings{FileUrl(Path("out.txt"))});
        QCOMPARE(Checked(*form), Strings{});
        QVERIFY(!form->BExecLint->Enabled());
        QVERIFY(form->BClose->Enabled());
        QVERIFY(form->CloseCommandEnabled());
    }

    void aPathWithShellCharactersArrivesAsOneArgument() {
        const std::string page = "x $(touch pwned); y'z\" `id` *.html";
        TMainForm* form = Prepare({page});
        ClickStart(*form);
        QCOMPARE(ReadAll(Path("out.txt")), Section(Path("site/" + page)));
        QVERIFY(!std::filesystem::exists(Path("pwned")));
    }

    void aRunWithNothingCheckedWritesAnEmptyReport() {
        TMainForm* form = Prepare({"a.html"});
        form->PMCLear->Click();
        ClickStart(*form);
        QCOMPARE(ReadAll(Path("out.txt")), std::string());
        QCOMPARE(ReadAll(Path("out.bak")), std::string());
        QCOMPARE(form->LStatus->Text(), std::string("全て終了しました"));
        QCOMPARE(Opened.size(), std::size_t(1));
    }

    void eachPagesStatusIsOnTheScreenWhileItsCheckerRuns() {
        TMainForm* form = Prepare({"a.html", "b.html", "c.html"}, "out.txt", PaintedStatusChecker);
        form->CLBLintFile->SetItemChecked(0, false);
        TPaintedTextFile painted(QtWidget(*form->LStatus), Path("painted.txt"));
        ClickStart(*form);
        const std::string b = Path("site/b.html"), c = Path("site/c.html");
        QCOMPARE(ReadAll(Path("out.txt")), "\r\n\r\n【" + b + "】\r\n(1/3) " + b + " 処理中\n" +
                                               "\r\n\r\n【" + c + "】\r\n(2/3) " + c + " 処理中\n");
    }

    void aMenuOpenedDuringTheRunHoldsItAndItsCommandDecidesWhatFollows() {
        TMainForm* form = Prepare({"a.html", "b.html", "c.html"});
        bool clearedWhenTheMenuReturned = false;
        TPopupMenuChooser chooser({"ﾁｪｯｸｸﾘｱ"});
        QTimer::singleShot(0, [&] {
            QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(),
                                    QtWidget(*form)->mapToGlobal(QPoint()));
            QApplication::sendEvent(QtWidget(*form->CLBLintFile), &byKey);
            clearedWhenTheMenuReturned = Checked(*form).empty();
        });
        ClickStart(*form);
        QVERIFY(clearedWhenTheMenuReturned);
        QCOMPARE(ReadAll(Path("out.txt")), Section(Path("site/a.html")));
    }

    void whatTheUserUnchecksDuringTheRunIsSkippedAndClosingIsRefused() {
        TMainForm* form = Prepare({"a.html", "b.html", "c.html"});
        bool visibleAfterCloseAttempts = false;
        QTimer::singleShot(0, [&] {
            // A click in the check column of the third item, as the user would make it.
            auto* area = static_cast<QAbstractScrollArea*>(QtWidget(*form->CLBLintFile));
            TRect third = form->CLBLintFile->ItemRect(2);
            QTest::mouseClick(area->viewport(), Qt::LeftButton, {},
                              QPoint(third.Left + 3, third.Top + third.Height() / 2));
            QWidget* window = QtWidget(*form);
            window->close();
            QCloseEvent byWindowManager;
            QApplication::sendEvent(window, &byWindowManager);
            QTest::keyClick(window, Qt::Key_Escape);
            QTest::keyClick(window, Qt::Key_F4, Qt::AltModifier);
            QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
            visibleAfterCloseAttempts =
                window->isVisible() && !form->CloseCommandEnabled() && !form->BClose->Enabled();
        });
        ClickStart(*form);
        QVERIFY(visibleAfterCloseAttempts);
        QCOMPARE(ReadAll(Path("out.txt")),
                 Section(Path("site/a.html")) + Section(Path("site/b.html")));
        QCOMPARE(Checked(*form), Strings{});
        // The window kept the keyboard: its close button answers Alt+C without a click.
        QTest::keyClick(QtWidget(*form), Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!QtWidget(*form)->isVisible());
    }

    void aCheckerThatCannotStartStillLeavesItsPageDone() {
        Dir->Write("site/a.html", "<p>");
        Configure(Path("site/"), "out.txt", Path("no-checker"));
        TMainForm* form = StartAndScan();
        ClickStart(*form);
        QCOMPARE(ReadAll(Path("out.txt")),
                 "\r\n\r\n【" + Path("site/a.html") + "】\r\n" +
                     "ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑを起動できませんでした: " + Path("no-checker") + " " +
                     Path("site/a.html") + "\r\n");
        QCOMPARE(Checked(*form), Strings{});
    }

    void aFailedSaveIsOfferedAgainAndSucceedsOnRetry() {
        TMainForm* form = Prepare({"a.html"});
        // Where the report should go stands a folder, which the user removes before retrying.
        std::filesystem::remove(Path("out.txt"));
        std::filesystem::create_directory(Path("out.txt"));
        TMessageBoxCatcher boxes(QMessageBox::Retry);
        boxes.OnBox = [&](const QString&) {
            if (boxes.Texts.size() == 2) {
                std::filesystem::remove(Path("out.txt"));
            }
        };
        ClickStart(*form);
        QCOMPARE(boxes.Texts.size(), 2);
        QVERIFY(boxes.Texts[0].contains("out.txt"));
        QVERIFY(
            ReadAll(Path("out.txt")).starts_with("\r\n\r\n【" + Path("site/a.html") + "】\r\n"));
        QCOMPARE(form->LStatus->Text(), std::string("全て終了しました"));
        QCOMPARE(Opened.size(), std::size_t(1));
    }

    void aSaveGivenUpShowsNoSuccessButClosingWorks() {
        TMainForm* form = Prepare({"a.html"});
        std::filesystem::remove(Path("out.txt"));
        std::filesystem::create_directory(Path("out.txt"));
        TMessageBoxCatcher boxes(QMessageBox::Cancel);
        ClickStart(*form);
        QCOMPARE(boxes.Texts.size(), 1);
        QCOMPARE(QString::fromStdString(form->LStatus->Text()), boxes.Texts[0]);
        QVERIFY(Opened.empty());
        QVERIFY(form->BClose->Enabled());
        QVERIFY(form->CloseCommandEnabled());
        QVERIFY(!form->BExecLint->Enabled());
    }

    void withoutAnOutputFileTheStartButtonSaysSoAndRunsNothing() {
        TMainForm* form = Prepare({"a.html"}, "");
        TMessageBoxCatcher boxes;
        ClickStart(*form);
        QCOMPARE(boxes.Texts, QStringList{"出力ﾌｧｲﾙが設定されていません"});
        QCOMPARE(Checked(*form), Strings{Path("site/a.html")});
        QVERIFY(Opened.empty());
    }
};

QTEST_MAIN(BatchRunTest)
#include "batch_run_test.moc"
