#include "platform/executable.h"
#include "settings/site_settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

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
    EXPECT_EQ(read.CloseParen, "\xE3\x80\x91");

    TProgramSettings defaults = ReadProgramSettings(dir.Path() + "none.INI");
    EXPECT_EQ(defaults.LintProgram, "");
    EXPECT_EQ(defaults.OutputFile, "");
    EXPECT_EQ(defaults.OpenParen, "【");
    EXPECT_EQ(defaults.CloseParen, "】");
}

TEST(SettingsPaths, SitBesideTheExecutable) {
    OverrideExeName("/opt/vc/allcheck");
    EXPECT_EQ(CompanionSettingsPath(), "/opt/vc/KESTOLA.INI");
    EXPECT_EQ(OwnSettingsPath(), "/opt/vc/allcheck.INI");
    OverrideExeName("");
    EXPECT_NE(OwnSettingsPath(), "/opt/vc/allcheck.INI");
}

} // namespace
