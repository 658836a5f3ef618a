#include "app/main.h"
#include "app/program.h"
#include "checklist/checklst.h"
#include "platform/executable.h"
#include "platform/widgets/application.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include "platform/file_names.h"
#include "platform/win32/wide_text.h"
#endif

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
    dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=\r\n");
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

#ifdef _WIN32
// Started from a folder whose name the code page cannot hold, the program reads no settings:
// it sees that, and can say so with the folder's real name. The fake checker stands in for it.
TEST(ProgramFolder, WhoseNameTheCodePageCannotHoldIsSeen) {
    TTempDir dir;
    const std::string output = dir.Path() + "out.txt";
    const auto run = [&](const std::wstring& program) {
        std::wstring command = L"\"" + program + L"\" \"" + Widen(CP_ACP, output) + L"\" exe-name";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ReadAll(output);
    };
    const std::wstring checker = Widen(CP_ACP, ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME);
    EXPECT_EQ(run(checker), "");
    const std::wstring folder = Widen(CP_ACP, dir.Path()) + L"\uD55C\uAE00"; // 한글
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring copy = folder + L"\\allcheck.exe";
    ASSERT_TRUE(CopyFileW(checker.c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(run(copy), dir.Path() + "한글\\allcheck.exe");
}
#endif

} // namespace
