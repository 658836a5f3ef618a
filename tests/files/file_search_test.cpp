// The search as both systems run it; what only Linux has is in posix/file_search_test.cpp.
#include "file_search_helpers.h"
#include "platform/exceptions.h"
#include "support/code_page_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// ---- AttrAccepted -------------------------------------------------------------------------

TEST(AttrAccepted, AWordOfZeroIsAcceptedOnlyWithPlain) {
    EXPECT_TRUE(AttrAccepted(FileKinds::Plain, 0));
    EXPECT_TRUE(AttrAccepted(Scan, 0));
    EXPECT_FALSE(AttrAccepted(
        FileKinds::ReadOnly | FileKinds::Hidden | FileKinds::System | FileKinds::Archive, 0));
    EXPECT_FALSE(AttrAccepted(0, 0));
}

TEST(AttrAccepted, PlainLooksAtTheSixBitsOnly) {
    // A Windows file without the archive bit says 0x80; it is a plain file all the same.
    EXPECT_TRUE(AttrAccepted(Scan, 0x80));
    EXPECT_TRUE(AttrAccepted(FileKinds::Plain, 0x2080));
    EXPECT_TRUE(AttrAccepted(FileKinds::Plain, 0x40000000));
    EXPECT_FALSE(AttrAccepted(FileKinds::ReadOnly | FileKinds::Archive, 0x80));
    EXPECT_FALSE(AttrAccepted(FileKinds::Plain, 0x81));
    EXPECT_FALSE(AttrAccepted(FileKinds::Plain, 0x2020));
    EXPECT_TRUE(AttrAccepted(FileKinds::ReadOnly, 0x81)); // others do not exclude
}

TEST(AttrAccepted, OneMatchingKindIsEnough) {
    EXPECT_TRUE(AttrAccepted(Scan, 0x22));  // hidden, but archive
    EXPECT_FALSE(AttrAccepted(Scan, 0x06)); // hidden system, neither read-only nor archive
    EXPECT_TRUE(AttrAccepted(Scan, 0x01));
    EXPECT_TRUE(AttrAccepted(Scan, 0x27));
    EXPECT_FALSE(AttrAccepted(Scan, 0x02));
    EXPECT_FALSE(AttrAccepted(Scan, 0x04));
    EXPECT_TRUE(AttrAccepted(FileKinds::Hidden, 0x06));
    EXPECT_TRUE(AttrAccepted(FileKinds::System, 0x06));
}

TEST(AttrAccepted, KindBitsAreNotAttributeBits) {
    EXPECT_TRUE(AttrAccepted(FileKinds::Archive, 0x20));
    EXPECT_FALSE(AttrAccepted(FileKinds::Archive, 0x08 >> 1)); // 0x04 is system, not archive
    EXPECT_FALSE(AttrAccepted(FileKinds::Plain, 0x10 >> 4));   // 0x01 is read-only, not plain
    EXPECT_FALSE(AttrAccepted(FileKinds::ReadOnly, 0x20));
    EXPECT_FALSE(AttrAccepted(FileKinds::Hidden, 0x01));
    EXPECT_FALSE(AttrAccepted(FileKinds::System, 0x02));
}

TEST(AttrAccepted, ADirectoryOrVolumeLabelIsNeverAFile) {
    for (int attr : {0x10, 0x11, 0x12, 0x14, 0x30, 0x3F, 0x08, 0x09, 0x28}) {
        EXPECT_FALSE(AttrAccepted(31, attr)) << attr;
        EXPECT_FALSE(AttrAccepted(255, attr)) << attr;
    }
}

// ---- Order --------------------------------------------------------------------------------

// A site of two pages with two subfolders: a.html, b.html, x/c.html, y/e.htm.
class SearchExample : public ::testing::Test {
protected:
    void SetUp() override {
        Site = Dir.MakeDir("web");
        Dir.Write("web/b.html", "");
        Dir.Write("web/a.html", "");
        Dir.Write("web/x/c.html", "");
        Dir.Write("web/y/e.htm", "");
    }
    TTempDir Dir;
    std::string Site;
};

TEST_F(SearchExample, TheHtmlPassThenTheHtmPass) {
    TFileList list;
    SearchFiles(Site + "*.html", Scan, list);
    EXPECT_EQ(Relative(Items(list), Site), (Strings{"a.html", "b.html", "x/c.html"}));
    SearchFiles(Site + "*.htm", Scan, list);
    EXPECT_EQ(Relative(Items(list), Site), (Strings{"a.html", "b.html", "x/c.html", "y/e.htm"}));
}

TEST_F(SearchExample, APathAlreadyListedKeepsItsFirstPosition) {
    // Two overlapping sites, the inner one first; then the whole scan once more.
    TFileList list;
    SearchFiles(Site + "x" + PathDelim + "*.html", Scan, list);
    SearchFiles(Site + "*.html", Scan, list);
    SearchFiles(Site + "*.htm", Scan, list);
    SearchFiles(Site + "*.html", Scan, list);
    SearchFiles(Site + "*.htm", Scan, list);
    EXPECT_EQ(Relative(Items(list), Site), (Strings{"x/c.html", "a.html", "b.html", "y/e.htm"}));
}

TEST(SearchOrder, AMaskWhoseDirectoryLacksItsSeparatorSearchesTheFolderAbove) {
    TTempDir dir;
    for (const char* name : {"site/a.html", "site/site2.html", "siteX.html", "site.html",
                             "other.html", "other/site1.html", "other/x.html"}) {
        dir.Write(name, "");
    }
    // dir + "site" + "*.html": the folder is dir, and every level matches "site*.html".
    EXPECT_EQ(Relative(Search(dir.Path() + "site*.html"), dir.Path()),
              (Strings{"site.html", "siteX.html", "other/site1.html", "site/site2.html"}));
}

TEST(SearchOrder, AMaskWithoutDirectorySearchesTheWorkingFolder) {
    TTempDir dir;
    dir.Write("a.html", "");
    dir.Write("sub/b.html", "");
    fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    Strings found = Search("*.html");
    fs::current_path(before);
    EXPECT_EQ(Relative(found, ""), (Strings{"a.html", "sub/b.html"}));
}

// ---- What is searched and listed -----------------------------------------------------------

TEST(SearchKinds, ADirectoryWithoutMatchingFilesStillHasItsSubdirectoriesSearched) {
    TTempDir dir;
    dir.Write("a/b/c/deep.html", "");
    dir.Write("a/note.txt", "");
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"a/b/c/deep.html"}));
}

TEST(SearchKinds, ADirectoryNamedLikeAPageIsSearchedNotListed) {
    TTempDir dir;
    dir.Write("old.html/inner.html", "");
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"old.html/inner.html"}));
}

// ---- Cycles and failures ------------------------------------------------------------------

TEST(SearchSafety, AMissingSiteYieldsNothingAndNoError) {
    TTempDir dir;
    EXPECT_EQ(ScanSite(dir.Path() + "missing/"), Strings{});
    dir.Write("file", "");
    EXPECT_EQ(ScanSite(dir.Path() + "file/"), Strings{});
}

// A folder name whose characters end in the byte of "\" on Windows: the search takes it whole,
// also where the mask's directory part ends inside the name.
TEST(SearchNames, ACodePage932NameIsNeverCutInsideACharacter) {
    TTempDir dir;
    for (const std::string& name :
         {Hyoushi + "/a.html", Hyoushi + "/sub/b.html", Hyoushi + "1.html", Hyoushi + "1/c.html"}) {
        dir.Write(name, "");
    }
    const std::string site = dir.Path() + Hyoushi + PathDelim;
    EXPECT_EQ(ScanSite(site), (Strings{site + "a.html", site + "sub" + PathDelim + "b.html"}));
    // Written without its separator, the site's name is part of the pattern, as one name.
    EXPECT_EQ(Search(dir.Path() + Hyoushi + "*.html"), Strings{dir.Path() + Hyoushi + "1.html"});
}

} // namespace
