// The settings files on Linux: permission bits, FIFOs, and where they lie.
#include "platform/executable.h"
#include "settings/sites_and_program.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

// The settings files are opened for reading only: one that the user may not write is read all
// the same, here a file that only root may write, read by a user without privileges.
TEST(SettingsFiles, ThatMayOnlyBeReadAreRead) {
    TTempDir dir;
    const std::string own = dir.Write("allcheck.INI", "[Program]\r\nOutputFile=o.txt\r\n");
    const auto read = [&] {
        TSettingsProblems problems;
        return ReadProgramSettings(own, problems).OutputFile;
    };
    ASSERT_EQ(::chmod(own.c_str(), 0644), 0);
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(Unprivileged([&] { return Strings{read()}; }), Strings{"o.txt"});
}

// One that may not be read is named, not taken for one without sites.
TEST(SettingsFiles, ThatMayNotBeReadAreNamed) {
    TTempDir dir;
    const std::string companion = dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=/web/\r\n");
    ASSERT_EQ(::chmod(companion.c_str(), 0600), 0);
    ::chmod(dir.Path().c_str(), 0755);
    const Strings problems = Unprivileged([&] {
        TSettingsProblems read;
        ReadSiteDirs(companion, read);
        return read;
    });
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(problems[0].starts_with("設定ﾌｧｲﾙが読めないので使いません (")) << problems[0];
    EXPECT_TRUE(problems[0].ends_with("): " + companion)) << problems[0];
}

// On Linux a name in other letter case is another file, which the user probably meant.
TEST(SiteDirs, AMissingCompanionFileNamesOneInOtherLetterCaseBesideIt) {
    TTempDir dir;
    dir.Write("kestola.ini", "");
    dir.Write("Kestola.Ini.TXT", "");
    TSettingsProblems problems;
    ReadSiteDirs(dir.Path() + "KESTOLA.INI", problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(problems[0].ends_with(
        "\n同じﾌｫﾙﾀﾞの kestola.ini がおそらくそれです。名前を KESTOLA.INI に変えてください。"
        "\n同じﾌｫﾙﾀﾞの Kestola.Ini.TXT がおそらくそれです。名前を KESTOLA.INI に変えてください。"))
        << problems[0];
}

// A FIFO holds an open for reading until a writer comes; the alarm ends a test that waits.
TEST(SettingsFiles, ThatAreNoRegularFilesCountAsMissingAndAreNeverWaitedFor) {
    TTempDir dir;
    for (const char* name : {"KESTOLA.INI", "allcheck.INI"}) {
        ASSERT_EQ(::mkfifo((dir.Path() + name).c_str(), 0644), 0);
    }
    ::alarm(20);
    TSettingsProblems problems;
    EXPECT_EQ(ReadSiteDirs(dir.Path() + "KESTOLA.INI", problems).Count(), 0);
    EXPECT_EQ(ReadProgramSettings(dir.Path() + "allcheck.INI", problems).OpenParen, "【");
    ::alarm(0);
}

TEST(SettingsPaths, SitBesideTheExecutable) {
    OverrideExeName("/opt/vc/allcheck");
    EXPECT_EQ(CompanionSettingsPath(), "/opt/vc/KESTOLA.INI");
    EXPECT_EQ(OwnSettingsPath(), "/opt/vc/allcheck.INI");
    OverrideExeName("");
    EXPECT_NE(OwnSettingsPath(), "/opt/vc/allcheck.INI");
}

} // namespace
