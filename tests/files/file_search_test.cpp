#include "files/file_list.h"
#include "files/file_search.h"
#include "platform/exceptions.h"
#include "platform/file_names.h"
#include "support/code_page_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "support/unprivileged.h"

#include <sys/stat.h>
#endif

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr FileKinds Scan = 25; // what the scan passes
constexpr std::array<std::string_view, 2> ScanMasks{"*.html", "*.htm"};

Strings Items(const TFileList& list) {
    return Strings(list.begin(), list.end());
}

// The search of one site exactly as the scan runs it: one walk for "*.html" and "*.htm".
Strings ScanSite(const std::string& site) {
    TFileList list;
    SearchFiles(site, ScanMasks, Scan, list);
    return Items(list);
}

Strings Search(const std::string& mask, FileKinds kinds = Scan) {
    TFileList list;
    SearchFiles(mask, kinds, list);
    return Items(list);
}

// An ASCII path with the platform's separator written as "/", for expectations that read alike.
std::string Slashed(std::string path) {
    for (char& c : path) {
        c = c == PathDelim ? '/' : c;
    }
    return path;
}

// Paths relative to root, for readable expectations.
Strings Relative(const Strings& paths, const std::string& root) {
    Strings relative;
    for (const std::string& path : paths) {
        relative.push_back(path.compare(0, root.size(), root) == 0
                               ? Slashed(path.substr(root.size()))
                               : "!" + path);
    }
    return relative;
}

#ifndef _WIN32
void MakeFifo(const std::string& path) {
    if (::mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("mkfifo " + path);
    }
}
#endif

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

#ifndef _WIN32 // A.html and a.html are one file on Windows
TEST(SearchOrder, OwnFilesFirstThenEachSubdirectorysWholeSubtreeInSortedOrder) {
    TTempDir dir;
    for (const char* name :
         {"b.html", "a.html", "A.html", "c.HTML", "d.htm", "sub1/z.html", "sub1/deep/d.html",
          "Sub0/s.html", "sub1/deep/e.HTM", "empty/deeper/x.html", "sub1/y.txt"}) {
        dir.Write(name, "");
    }
    // On Linux "A.html" and "a.html" are two files and both are listed.
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()),
              (Strings{"A.html", "a.html", "b.html", "c.HTML", "empty/deeper/x.html", "Sub0/s.html",
                       "sub1/z.html", "sub1/deep/d.html", "d.htm", "sub1/deep/e.HTM"}));
}

#endif

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

#ifndef _WIN32 // the kinds of the Linux table
TEST(SearchKinds, HiddenSubdirectoriesAreNotSearchedReadOnlyOnesAre) {
    TTempDir dir;
    for (const char* name :
         {".hidden/h.html", ".hidden/deep/h.html", "ro/r.html", "ro/in/r.html", "ok.html"}) {
        dir.Write(name, "");
    }
    fs::permissions(dir.Path() + "ro", fs::perms(0555));
    Strings found = Relative(ScanSite(dir.Path()), dir.Path());
    fs::permissions(dir.Path() + "ro", fs::perms(0755));
    EXPECT_EQ(found, (Strings{"ok.html", "ro/r.html", "ro/in/r.html"}));
}

TEST(SearchKinds, HiddenFilesAreLeftOutReadOnlyFilesAndLinkedFilesListed) {
    TTempDir dir;
    dir.Write(".secret.html", "");
    dir.Write("readonly.html", "");
    fs::permissions(dir.Path() + "readonly.html", fs::perms(0444));
    dir.Write("real.txt", "");
    fs::create_symlink("real.txt", dir.Path() + "alias.html");
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"alias.html", "readonly.html"}));
    // Asking for hidden files as well lists it.
    EXPECT_EQ(Relative(Search(dir.Path() + "*.html", Scan.Bits | FileKinds::Hidden), dir.Path()),
              (Strings{".secret.html", "alias.html", "readonly.html"}));
}

TEST(SearchKinds, AFifoAndLinksThatLeadNowhereAreNeverListed) {
    TTempDir dir;
    dir.Write("page.html", "");
    MakeFifo(dir.Path() + "pipe.html");
    fs::create_symlink("nowhere.html", dir.Path() + "dead.html");
    fs::create_symlink("loop.html", dir.Path() + "loop.html");
    fs::create_symlink("nowhere", dir.Path() + "deaddir");
    MakeFifo(dir.Path() + "pipedir");
    // Not with every kind either: a FIFO is a system file, never a plain one, and the search
    // never opens it (which would block).
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"page.html"}));
    EXPECT_EQ(
        Relative(Search(dir.Path() + "*.html", FileKinds::Plain | FileKinds::ReadOnly), dir.Path()),
        (Strings{"page.html"}));
}

#endif

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

#ifndef _WIN32 // symbolic links
TEST(SearchSafety, ALinkBackUpTheTreeIsNotFollowed) {
    TTempDir dir;
    dir.Write("x.html", "");
    dir.Write("a/y.html", "");
    dir.Write("a/b/z.html", "");
    fs::create_symlink("../..", dir.Path() + "a/b/up"); // to the root of the search
    dir.Write("c/w.html", "");
    fs::create_symlink("c", dir.Path() + "link2c"); // a second way in, but no cycle
    EXPECT_EQ(Relative(Search(dir.Path() + "*.html"), dir.Path()),
              (Strings{"x.html", "a/y.html", "a/b/z.html", "c/w.html", "link2c/w.html"}));
}

TEST(SearchSafety, ALinkToItsOwnFolderIsNotFollowed) {
    TTempDir dir;
    dir.Write("a/y.html", "");
    fs::create_symlink(".", dir.Path() + "a/self");
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"a/y.html"}));
}

TEST(SearchSafety, ManyWaysUpEnd) {
    // Without the guard, two ways up per level would make the walk grow without end.
    TTempDir dir;
    dir.Write("a/b/z.html", "");
    for (const char* name : {"a/b/up1", "a/b/up2", "a/b/up3"}) {
        fs::create_symlink("..", dir.Path() + name);
    }
    fs::create_symlink("../..", dir.Path() + "a/b/top");
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"a/b/z.html"}));
}

TEST(SearchSafety, TwoFoldersLinkedToEachOtherEnd) {
    TTempDir dir;
    dir.Write("p/p.html", "");
    dir.Write("r/r.html", "");
    fs::create_symlink("../r", dir.Path() + "p/q");
    fs::create_symlink("../p", dir.Path() + "r/s");
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()),
              (Strings{"p/p.html", "p/q/r.html", "r/r.html", "r/s/p.html"}));
}

#endif

TEST(SearchSafety, AMissingSiteYieldsNothingAndNoError) {
    TTempDir dir;
    EXPECT_EQ(ScanSite(dir.Path() + "missing/"), Strings{});
    dir.Write("file", "");
    EXPECT_EQ(ScanSite(dir.Path() + "file/"), Strings{});
}

#ifndef _WIN32 // permission bits
TEST(SearchSafety, AnUnreadableDirectoryContributesNothing) {
    TTempDir dir;
    for (const char* name : {"a.html", "locked/l.html", "listonly/l.html", "listonly/in/l.html",
                             "enteronly/e.html", "z/z.html"}) {
        dir.Write(name, "");
    }
    fs::permissions(dir.Path(), fs::perms(0755));
    fs::permissions(dir.Path() + "locked", fs::perms(0));
    fs::permissions(dir.Path() + "listonly", fs::perms(0444));  // read, not search
    fs::permissions(dir.Path() + "enteronly", fs::perms(0111)); // search, not read
    Strings found = Unprivileged([&] { return ScanSite(dir.Path()); });
    for (const char* name : {"locked", "listonly", "enteronly"}) {
        fs::permissions(dir.Path() + name, fs::perms(0755));
    }
    // A folder that may be listed but not searched shows its files (as their kind is listed),
    // but nothing below it: its subfolders cannot be opened.
    EXPECT_EQ(Relative(found, dir.Path()), (Strings{"a.html", "listonly/l.html", "z/z.html"}));
}

#endif

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
