// The search on Linux: letter case, the kinds of the Linux table, links and permission bits.
#include "file_search_helpers.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

void MakeFifo(const std::string& path) {
    if (::mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("mkfifo " + path);
    }
}

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

TEST(SearchSafety, ALinkBackUpTheTreeIsNotFollowed) {
    TTempDir dir;
    dir.Write("x.html", "");
    dir.Write("a/y.html", "");
    dir.Write("a/b/z.html", "");
    fs::create_symlink("../..", dir.Path() + "a/b/up"); // to the root of the search
    dir.Write("c/w.html", "");
    fs::create_symlink("c", dir.Path() + "link2c"); // a second way in, but no cycle
    fs::create_symlink("../c", dir.Path() + "a/up2c");
    // Each folder is walked once, by the first way to it.
    EXPECT_EQ(Relative(Search(dir.Path() + "*.html"), dir.Path()),
              (Strings{"x.html", "a/y.html", "a/b/z.html", "a/up2c/w.html"}));
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
    EXPECT_EQ(Relative(ScanSite(dir.Path()), dir.Path()), (Strings{"p/p.html", "p/q/r.html"}));
}

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

} // namespace
