#include "app/main.h"
#include "app/program.h"
#include "checklist/checklst.h"
#include "platform/executable.h"
#include "platform/widgets/application.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"

namespace {

using namespace std::string_literals;

// The test's own application object measures nothing; it only carries the driver's timers.
class ProgramTest : public TGuiTest {};

// Starts the program exactly as its entry point does; everything else in this process is left
// unprepared, so that what the entry point forgets shows here. A setting that is refused while
// the window is being made shows a box then, before the window exists for the user.
TEST_F(ProgramTest, TheEntryPointMeasuresTheCheckBoxesBeforeTheWindowIsMade) {
    TTempDir dir;
    OverrideExeName(dir.Path() + "allcheck");
    dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=" + dir.MakeDir("site") + "\r\n");
    dir.Write("allcheck.INI", "[Program]\r\nOutputFile=a\0b\r\n"s);
    TMessageBoxes boxes;
    bool measuredWhileMade = false;
    boxes.OnBox = [&](const std::string&) {
        measuredWhileMade = CheckBoxWidth() > 0 && CheckBoxHeight() > 0;
    };
    bool measuredWhileShown = false;
    std::function<void()> watch = [&] {
        TForm* form = Application ? Application->MainForm() : nullptr;
        if (form && IsShown(*form)) {
            measuredWhileShown = CheckBoxWidth() > 0 && CheckBoxHeight() > 0;
            form->Close();
        } else {
            RunSoon(watch);
        }
    };
    RunSoon(watch);
    static char name[] = "allcheck";
    char* argv[] = {name, nullptr};
    int argc = 1;
    EXPECT_EQ(RunProgram(argc, argv), 0);
    EXPECT_EQ(boxes.Texts.size(), 1u);
    EXPECT_TRUE(measuredWhileMade);
    EXPECT_TRUE(measuredWhileShown);
    OverrideExeName("");
}

} // namespace
