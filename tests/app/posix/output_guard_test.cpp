// The output file's rule on Linux: links, hard links, mounts and what is no regular file.
#include "output_guard_fixture.h"

#include "platform/narrow_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

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
    // A hidden page is listed nowhere, so no identity refuses a link to it: where it leads does.
    const std::string hidden = Dir.Write("web/.draft.html", "<p>");
    fs::create_symlink(hidden, Dir.Path() + "draft.txt");
    EXPECT_EQ(Refusal(Dir.Path() + "draft.txt"), NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + Sites[0] +
                                                     NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") +
                                                     hidden);
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

} // namespace
