#include "program_fixture.h"

#include "platform/executable.h"
#include "platform/widgets/qt/control_impl.h"

#include <QTest>
#include <QTimer>

// Starts the program exactly as its entry point does; everything else in this process is left
// unprepared, so that what the entry point forgets shows here.
class ProgramTest : public QObject, private TProgramFixture {
    Q_OBJECT

private slots:
    void theEntryPointMeasuresTheCheckBoxesBeforeTheWindowShows() {
        InitProgram();
        Configure("");
        bool measuredWhileShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            TForm* form = Application ? Application->MainForm() : nullptr;
            if (form && QtWidget(*form)->isVisible()) {
                measuredWhileShown = CheckBoxWidth() > 0 && CheckBoxHeight() > 0;
                form->Close();
            }
        });
        watch.start(5);
        static char name[] = "allcheck";
        char* argv[] = {name, nullptr};
        int argc = 1;
        QCOMPARE(RunProgram(argc, argv), 0);
        QVERIFY(measuredWhileShown);
        OverrideExeName("");
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
