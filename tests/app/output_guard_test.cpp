// The output file's rule as both systems apply it; what each has of its own is in posix/ and
// win32/output_guard_test.cpp.
#include "output_guard_fixture.h"

#include "platform/narrow_text.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

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

} // namespace
