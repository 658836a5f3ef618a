#include "app/output_guard.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>

#include <filesystem>
#endif

namespace {

class OutputGuard : public ::testing::Test {
protected:
    void SetUp() override {
        Own = {Dir.Write("allcheck.INI", "[Program]\n"), Dir.Write("KESTOLA.INI", "[Directory]\n"),
               Dir.Write("allcheck", "#!/bin/sh\n")};
        Dir.Write("web/a.html", "<p>");
        Sites.Add(Dir.MakeDir("web"));
    }
    bool Refused(const std::string& output) {
        return OutputFileRefusal(output, Sites, Own).has_value();
    }

    TTempDir Dir;
    TStringList Sites;
    std::vector<std::string> Own;
};

#ifndef _WIN32
namespace fs = std::filesystem;

TEST_F(OutputGuard, RefusesTheSettingsFilesAndTheExecutableHoweverSpelled) {
    Dir.MakeDir("sub");
    const std::string spelled = Dir.Path() + "sub/../KESTOLA.INI";
    EXPECT_EQ(OutputFileRefusal(spelled, Sites, Own),
              "出力ﾌｧｲﾙが " + Own[1] + " と同じﾌｧｲﾙなので使いません: " + spelled);
    fs::create_hard_link(Own[0], Dir.Path() + "hard.txt");
    EXPECT_TRUE(Refused(Dir.Path() + "hard.txt"));
    fs::create_symlink(Own[2], Dir.Path() + "link.txt");
    EXPECT_TRUE(Refused(Dir.Path() + "link.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "out.txt"));
    EXPECT_FALSE(Refused(""));
}

TEST_F(OutputGuard, RefusesANameTheScanWouldTakeInASiteFolderOrWhereALinkLeads) {
    const std::string page = Dir.Path() + "web/sub/Report.HTM";
    EXPECT_EQ(OutputFileRefusal(page, Sites, Own),
              "出力ﾌｧｲﾙがｻｲﾄ " + Sites[0] + " のHTMLﾌｧｲﾙなので使いません: " + page);
    EXPECT_TRUE(Refused(Dir.MakeDir("other") + "../web/new.html"));
    fs::create_directory_symlink(Dir.Path() + "web", Dir.Path() + "alias");
    EXPECT_TRUE(Refused(Dir.Path() + "alias/new.htm"));
    fs::create_symlink(Dir.Path() + "web/a.html", Dir.Path() + "out.txt");
    EXPECT_TRUE(Refused(Dir.Path() + "out.txt"));

    EXPECT_FALSE(Refused(Dir.Path() + "web/report.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "web2/a.html"));
    EXPECT_FALSE(Refused(Dir.Path() + "a.html"));
}

TEST_F(OutputGuard, RefusesWhatIsNoRegularFileButWritesThroughALinkToOne) {
    ASSERT_EQ(::mkfifo((Dir.Path() + "fifo").c_str(), 0644), 0);
    EXPECT_TRUE(Refused(Dir.Path() + "fifo"));
    EXPECT_TRUE(Refused("/dev/null"));
    EXPECT_TRUE(Refused(Dir.MakeDir("folder")));
    fs::create_symlink(Dir.Write("real.txt", ""), Dir.Path() + "link.txt");
    EXPECT_FALSE(Refused(Dir.Path() + "link.txt"));
}

#else
// Names that differ in letter case are one file on Windows, and a device has attributes too.
TEST_F(OutputGuard, RefusesOtherSpellingsAndLetterCasesAndWhatIsNoRegularFile) {
    Dir.MakeDir("sub");
    EXPECT_TRUE(Refused(Dir.Path() + "sub\\..\\kestola.ini"));
    EXPECT_TRUE(Refused(Dir.Path() + "WEB\\New\\report.HTM"));
    EXPECT_FALSE(Refused(Dir.Path() + "WEB\\report.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "a.html"));
    EXPECT_TRUE(Refused(Dir.MakeDir("folder")));
    EXPECT_TRUE(Refused("NUL"));
    EXPECT_FALSE(Refused(Dir.Path() + "out.txt"));
}
#endif

} // namespace
