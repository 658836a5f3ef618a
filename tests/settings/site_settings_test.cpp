#include "platform/executable.h"
#include "platform/file_names.h"
#include "settings/site_settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Strings = std::vector<std::string>;

// The default brackets 【 and 】 in the report's encoding.
#ifdef _WIN32
const std::string DefaultOpen = "\x81\x79";
const std::string DefaultClose = "\x81\x7A";
#else
const std::string DefaultOpen = "\xE3\x80\x90";
const std::string DefaultClose = "\xE3\x80\x91";
#endif

Strings SitesFrom(const TTempDir& dir, std::string_view localPath) {
    return ReadSiteDirs(dir.Write("KESTOLA.INI",
                                  "[Directory]\r\nLocalPath=" + std::string(localPath) + "\r\n"))
        .Items();
}

TEST(SiteDirs, CommaTextInTheOrderWritten) {
    TTempDir dir;
    EXPECT_EQ(SitesFrom(dir, "/web/b/,/web/a/"), (Strings{"/web/b/", "/web/a/"}));
    EXPECT_EQ(SitesFrom(dir, R"("/web/my site/","/web/日本/")"),
              (Strings{"/web/my site/", "/web/日本/"}));
    EXPECT_EQ(SitesFrom(dir, "/web/a/,/web/a/"), (Strings{"/web/a/", "/web/a/"}));
}

TEST(SiteDirs, EmptyEntriesAreDropped) {
    TTempDir dir;
    EXPECT_EQ(SitesFrom(dir, "/web/a/,,/web/b/,"), (Strings{"/web/a/", "/web/b/"}));
    EXPECT_EQ(SitesFrom(dir, R"("",/web/a/)"), Strings{"/web/a/"});
    EXPECT_EQ(SitesFrom(dir, ""), Strings{});
}

TEST(SiteDirs, NoCompanionFileGivesNoSites) {
    TTempDir dir;
    EXPECT_EQ(ReadSiteDirs(dir.Path() + "KESTOLA.INI").Count(), 0);
}

TEST(ProgramSettings, ReadsTheFourKeysOrTheirDefaults) {
    TTempDir dir;
    TProgramSettings read = ReadProgramSettings(
        dir.Write("allcheck.INI", "[Program]\nVornaxelBatch=tidy -q -f /tmp/o.txt\n"
                                  "OutputFile=/tmp/o.txt\nOpenParen=<<\n"));
    EXPECT_EQ(read.LintProgram, "tidy -q -f /tmp/o.txt");
    EXPECT_EQ(read.OutputFile, "/tmp/o.txt");
    EXPECT_EQ(read.OpenParen, "<<");
    EXPECT_EQ(read.CloseParen, DefaultClose);

    TProgramSettings defaults = ReadProgramSettings(dir.Path() + "none.INI");
    EXPECT_EQ(defaults.LintProgram, "");
    EXPECT_EQ(defaults.OutputFile, "");
    EXPECT_EQ(defaults.OpenParen, DefaultOpen);
    EXPECT_EQ(defaults.CloseParen, DefaultClose);
}

TEST(SettingsFiles, SkipAByteOrderMarkAtTheStart) {
    TTempDir dir;
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(ReadSiteDirs(dir.Write("KESTOLA.INI", bom + "[Directory]\r\nLocalPath=/web/a/\r\n"))
                  .Items(),
              Strings{"/web/a/"});
    EXPECT_EQ(ReadProgramSettings(dir.Write("allcheck.INI", bom + "[Program]\nOutputFile=/o.txt\n"))
                  .OutputFile,
              "/o.txt");
}

#ifndef _WIN32
// A FIFO holds an open for reading until a writer comes; the alarm ends a test that waits.
TEST(SettingsFiles, ThatAreNoRegularFilesCountAsMissingAndAreNeverWaitedFor) {
    TTempDir dir;
    for (const char* name : {"KESTOLA.INI", "allcheck.INI"}) {
        ASSERT_EQ(::mkfifo((dir.Path() + name).c_str(), 0644), 0);
    }
    ::alarm(20);
    EXPECT_EQ(ReadSiteDirs(dir.Path() + "KESTOLA.INI").Count(), 0);
    EXPECT_EQ(ReadProgramSettings(dir.Path() + "allcheck.INI").OpenParen, DefaultOpen);
    ::alarm(0);
}

TEST(SettingsPaths, SitBesideTheExecutable) {
    OverrideExeName("/opt/vc/allcheck");
    EXPECT_EQ(CompanionSettingsPath(), "/opt/vc/KESTOLA.INI");
    EXPECT_EQ(OwnSettingsPath(), "/opt/vc/allcheck.INI");
    OverrideExeName("");
    EXPECT_NE(OwnSettingsPath(), "/opt/vc/allcheck.INI");
}
#else
TEST(SettingsPaths, SitBesideTheExecutable) {
    OverrideExeName("C:\\Program Files\\vc\\allcheck.exe");
    EXPECT_EQ(CompanionSettingsPath(), "C:\\Program Files\\vc\\KESTOLA.INI");
    EXPECT_EQ(OwnSettingsPath(), "C:\\Program Files\\vc\\allcheck.INI");
    OverrideExeName("");
    EXPECT_EQ(ExtractFileName(OwnSettingsPath()), "settings_tests.INI");
    EXPECT_EQ(OwnSettingsPath().find(':'), 1u) << OwnSettingsPath();
}
#endif

// The template that the package ships, copied beside this test by the build, read as the
// program reads its own file once the user has named the copy allcheck.INI.
TEST(SettingsTemplate, GivesTheSettingsItDocuments) {
    TProgramSettings read =
        ReadProgramSettings(ExtractFilePath(ExeName()) + SETTINGS_TEMPLATE_NAME);
#ifdef _WIN32
    EXPECT_EQ(read.LintProgram, R"("C:\Program Files\tidy\bin\tidy.exe" -q -e --show-errors 1000)"
                                R"( -f "C:\allcheck\report.txt")");
    EXPECT_EQ(read.OutputFile, R"(C:\allcheck\report.txt)");
#else
    EXPECT_EQ(read.LintProgram, "tidy -q -e --show-errors 1000 -f /home/user/allcheck/report.txt");
    EXPECT_EQ(read.OutputFile, "/home/user/allcheck/report.txt");
#endif
    EXPECT_EQ(read.OpenParen, DefaultOpen);
    EXPECT_EQ(read.CloseParen, DefaultClose);
}

} // namespace
