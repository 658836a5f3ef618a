#include "app/output_guard.h"
#include "app/site_scan.h"
#include "platform/narrow_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

class OutputGuard : public ::testing::Test {
protected:
    void SetUp() override {
        Own = {Dir.Write("allcheck.INI", "[Program]\n"), Dir.Write("KESTOLA.INI", "[Directory]\n"),
               Dir.Write("allcheck", "#!/bin/sh\n")};
        Page = Dir.Write("web/a.html", "<p>");
        Sites.Add(Dir.MakeDir("web"));
    }
    // The rule as the main window asks it: after a scan of the sites as they are now.
    std::optional<std::string> Refusal(const std::string& output) {
        TFileList pages;
        ScanSites(Sites, pages);
        return OutputFileRefusal(output, Sites, pages, Own);
    }
    bool Refused(const std::string& output) { return Refusal(output).has_value(); }

    TTempDir Dir;
    TStringList Sites;
    std::vector<std::string> Own;
    std::string Page;
};

// A page the scan listed is refused by what it is, under any name: here a second name outside
// every site, which no rule on names can see.
TEST_F(OutputGuard, RefusesAListedPageByItsIdentityWhateverItsName) {
    const std::string other = Dir.Path() + "out.txt";
    fs::create_hard_link(Page, other);
    EXPECT_EQ(Refusal(other), NarrowText("出力ﾌｧｲﾙが ") + Page +
                                  NarrowText(" と同じﾌｧｲﾙなので使いません: ") + other);
    // The system stops a name at a NUL byte, and so does the identity.
    EXPECT_TRUE(Refused(Page + std::string("\0.txt", 5)));
    fs::create_hard_link(Dir.Write("elsewhere.html", "<p>"), Dir.Path() + "unlisted.txt");
    EXPECT_FALSE(Refused(Dir.Path() + "unlisted.txt"));
#ifndef _WIN32
    // A page that the scan reaches through a folder link inside the site, by its real path.
    const std::string real = Dir.Write("real/p.html", "<p>");
    fs::create_directory_symlink(Dir.Path() + "real", Dir.Path() + "web/linked");
    EXPECT_EQ(Refusal(real), NarrowText("出力ﾌｧｲﾙが ") + Dir.Path() + "web/linked/p.html" +
                                 NarrowText(" と同じﾌｧｲﾙなので使いません: ") + real);
#endif
}

// Folders are compared by whole names: one whose name only begins as a site's is no part of it.
TEST_F(OutputGuard, APageNameInAFolderThatOnlyBeginsLikeASiteIsFine) {
    EXPECT_FALSE(Refused(Dir.MakeDir("web2") + "new.html"));
    EXPECT_TRUE(Refused(Dir.MakeDir("web/deeper") + "new.html"));
}

#ifndef _WIN32
TEST_F(OutputGuard, RefusesTheSettingsFilesAndTheExecutableHoweverSpelled) {
    Dir.MakeDir("sub");
    const std::string spelled = Dir.Path() + "sub/../KESTOLA.INI";
    EXPECT_EQ(Refusal(spelled), NarrowText("出力ﾌｧｲﾙが ") + Own[1] +
                                    NarrowText(" と同じﾌｧｲﾙなので使いません: ") + spelled);
    fs::create_hard_link(Own[0], Dir.Path() + "hard.txt");
    EXPECT_TRUE(Refused(Dir.Path() + "hard.txt"));
    fs::create_symlink(Own[2], Dir.Path() + "link.txt");
    EXPECT_TRUE(Refused(Dir.Path() + "link.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "out.txt"));
    EXPECT_FALSE(Refused(""));
}

TEST_F(OutputGuard, RefusesANameTheScanWouldTakeInASiteFolderOrWhereALinkLeads) {
    const std::string page = Dir.Path() + "web/sub/Report.HTM";
    EXPECT_EQ(Refusal(page), NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + Sites[0] +
                                 NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") + page);
    EXPECT_TRUE(Refused(Dir.MakeDir("other") + "../web/new.html"));
    fs::create_directory_symlink(Dir.Path() + "web", Dir.Path() + "alias");
    EXPECT_TRUE(Refused(Dir.Path() + "alias/new.htm"));
    fs::create_symlink(Dir.Path() + "web/a.html", Dir.Path() + "out.txt");
    EXPECT_TRUE(Refused(Dir.Path() + "out.txt"));
    // A link that leads nowhere names the page that writing through it would make.
    fs::create_symlink("alias/new.html", Dir.Path() + "dangling.txt");
    EXPECT_EQ(Refusal(Dir.Path() + "dangling.txt"),
              NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + Sites[0] +
                  NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") + Dir.Path() + "web/new.html");

    EXPECT_FALSE(Refused(Dir.Path() + "web/report.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "web2/a.html"));
    EXPECT_FALSE(Refused(Dir.Path() + "a.html"));
}

// No rule on names sees these folders inside a site: one that the scan reaches through a link in
// the site, and a second mount of the site's folder. The scan walked them: it knows them by
// their identity.
TEST_F(OutputGuard, RefusesAPageNameInAFolderTheScanWalkedHoweverItIsNamed) {
    fs::create_directory_symlink(Dir.MakeDir("real"), Dir.Path() + "web/linked");
    EXPECT_EQ(Refusal(Dir.Path() + "real/new.html"),
              NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + Sites[0] +
                  NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") + Dir.Path() + "real/new.html");
    EXPECT_FALSE(Refused(Dir.Path() + "real/report.txt"));

    // The mount is this test process's own, and ends with it. Where "/" is no mount point (a
    // chroot), its mounts keep the propagation they have.
    ASSERT_EQ(::unshare(CLONE_NEWNS), 0) << std::strerror(errno);
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    Dir.MakeDir("web/sub");
    const std::string second = Dir.MakeDir("mnt");
    ASSERT_EQ(::mount(Sites[0].c_str(), second.c_str(), nullptr, MS_BIND, nullptr), 0)
        << std::strerror(errno);
    EXPECT_TRUE(Refused(second + "new.html"));
    EXPECT_TRUE(Refused(second + "sub/new.htm"));
    EXPECT_FALSE(Refused(second + "new.txt"));
    ::umount2(second.c_str(), MNT_DETACH);
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
    EXPECT_FALSE(Refused(Dir.Path() + "out.txt"));
}

// The system reads "/" as a separator and drops the dots and blanks that end a name: the rule
// sees the name the system would open.
TEST_F(OutputGuard, RefusesAPageNameWrittenWithSlashesOrEndingInDotsAndBlanks) {
    std::string slashed = Dir.Path();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const std::string page = Dir.Path() + "web\\new.html";
    for (const std::string& spelled :
         {slashed + "web/new.html", Dir.Path() + "web/new.html", page + ".", page + ". ."}) {
        EXPECT_EQ(Refusal(spelled), NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + Sites[0] +
                                        NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") + page)
            << spelled;
    }
    EXPECT_FALSE(Refused(Dir.Path() + "web\\new.txt. ."));
}

// A device's name is no file in any folder, with any extension: refused before it is opened.
TEST_F(OutputGuard, RefusesADevicesNameInAnyFolderWithOrWithoutExtension) {
    for (const std::string& device :
         {std::string("CON"), std::string("PRN"), std::string("LPT1"), std::string("CONIN$"),
          std::string("con.txt"), std::string("\\\\.\\NUL"), std::string("\\\\.\\PhysicalDrive0"),
          Dir.Path() + "Aux .log", Dir.Path() + "missing\\com9.txt"}) {
        EXPECT_EQ(Refusal(device),
                  NarrowText("出力ﾌｧｲﾙが通常のﾌｧｲﾙではないので使いません: ") + device);
    }
    EXPECT_FALSE(Refused(Dir.Path() + "console.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "com10.txt"));
    EXPECT_FALSE(Refused("\\\\?\\" + Dir.Path() + "out.txt"));
}
#endif

} // namespace
