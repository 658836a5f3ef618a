// The settings files on Windows: a file another program holds, and where they lie.
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/win32/windows_api.h"
#include "settings/sites_and_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

// The settings files are opened for reading only: one that the user may not write is read all
// the same, here one that another program holds open for reading and lets nobody write.
TEST(SettingsFiles, ThatMayOnlyBeReadAreRead) {
    TTempDir dir;
    const std::string own = dir.Write("allcheck.INI", "[Program]\r\nOutputFile=o.txt\r\n");
    HANDLE held =
        CreateFileA(own.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TSettingsProblems problems;
    EXPECT_EQ(ReadProgramSettings(own, problems).OutputFile, "o.txt");
    CloseHandle(held);
}

TEST(SettingsPaths, SitBesideTheExecutable) {
    OverrideExeName("C:\\Program Files\\vc\\allcheck.exe");
    EXPECT_EQ(CompanionSettingsPath(), "C:\\Program Files\\vc\\KESTOLA.INI");
    EXPECT_EQ(OwnSettingsPath(), "C:\\Program Files\\vc\\allcheck.INI");
    OverrideExeName("");
    EXPECT_EQ(ExtractFileName(OwnSettingsPath()), "settings_tests.INI");
    EXPECT_EQ(OwnSettingsPath().find(':'), 1u) << OwnSettingsPath();
}

} // namespace
