// The enumeration as both systems run it; what each has of its own is in posix/ and win32/.
#include "find_file_helpers.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(FindFileOrder, NameBeforeIsAStrictOrder) {
    EXPECT_TRUE(NameBefore("A", "a"));
    EXPECT_FALSE(NameBefore("a", "A"));
    EXPECT_FALSE(NameBefore("a", "a"));
    EXPECT_TRUE(NameBefore("a", "B"));
    EXPECT_TRUE(NameBefore("ab", "B"));
    EXPECT_TRUE(NameBefore("a", "aa"));
    EXPECT_TRUE(NameBefore("Z", "_"));
    EXPECT_TRUE(NameBefore("z", "\x80"));
}

TEST(FindFileMask, LetterCaseDoesNotCountAndStarDotStarMatchesEveryName) {
    EXPECT_TRUE(MatchesMask("index.html", "*.html"));
    EXPECT_TRUE(MatchesMask("INDEX.HTML", "*.html"));
    EXPECT_TRUE(MatchesMask("index.Html", "*.HTML"));
    EXPECT_FALSE(MatchesMask("index.htm", "*.html"));
    EXPECT_FALSE(MatchesMask("index.html", "*.htm"));
    EXPECT_FALSE(MatchesMask("index.html.bak", "*.html"));
    EXPECT_TRUE(MatchesMask(".html", "*.html"));
    EXPECT_TRUE(MatchesMask("a.html.html", "*.html"));
    for (const char* name : {"README", ".", "..", "a.b", ".profile", ""}) {
        EXPECT_TRUE(MatchesMask(name, "*.*")) << name;
    }
    EXPECT_TRUE(MatchesMask("README", "*"));
    EXPECT_FALSE(MatchesMask("README", "*.?*"));
    EXPECT_TRUE(MatchesMask("a.b", "?.?"));
    EXPECT_FALSE(MatchesMask("ab.b", "?.?"));
    EXPECT_TRUE(MatchesMask("abXcdYe", "a*c*e"));
    EXPECT_FALSE(MatchesMask("abXcdYf", "a*c*e"));
    EXPECT_TRUE(MatchesMask("site1.html", "site*.html"));
    EXPECT_FALSE(MatchesMask("x.html", "site*.html"));
    // Only ASCII letters fold: bytes above 0x7F match themselves only.
    EXPECT_TRUE(MatchesMask("\xC3\xA4.html", "\xC3\xA4*"));
    EXPECT_FALSE(MatchesMask("\xC3\x84.html", "\xC3\xA4*"));
}

// In code page 932 the second byte of a character may look like a letter (ア is 83 41, ヂ is
// 83 61): it never matches one, and "?" takes the whole character.
TEST(FindFileMask, DoubleByteCharactersMatchWhole) {
    constexpr TPathStyle Windows = TPathStyle::Windows;
    EXPECT_TRUE(MatchesMask("\x83\x41.html", "\x83\x41*", Windows));
    EXPECT_FALSE(MatchesMask("\x83\x61.html", "\x83\x41*", Windows));
    EXPECT_TRUE(MatchesMask("\x83\x61.html", "\x83\x41*", TPathStyle::Posix));
    EXPECT_FALSE(MatchesMask("x\x83\x61", "*a", Windows));
    EXPECT_FALSE(MatchesMask("x\x83\x61", "*A", Windows));
    EXPECT_TRUE(MatchesMask("x\x83\x61\x61", "*A", Windows));
    EXPECT_TRUE(MatchesMask("\x95\x5C.html", "?.html", Windows));
    EXPECT_FALSE(MatchesMask("\x95\x5C.html", "??.html", Windows));
    EXPECT_TRUE(MatchesMask("\x95\x5C.html", "??.html", TPathStyle::Posix));
    EXPECT_TRUE(MatchesMask("\x95\x5C\x83\x41.htm", "\x95\x5C*.htm", Windows));
}

// Where the volume keeps short names (Windows' system drive does, and so does Wine), the
// system's own wildcards match "INDEX~1.HTM", the short name of an editor's backup, and that of
// "page.html5", to "*.htm".
TEST(FindFileMask, OnlyMatchingNamesAreReturnedInOrder) {
    TTempDir dir;
    for (const char* name :
         {"b.html", "A.HTML", "c.htm", "d.html.bak", "e.Html", "index.html~", "page.html5"}) {
        dir.Write(name, "x");
    }
    EXPECT_EQ(Enumerate(dir.Path() + "*.html", faAnyFile).Names,
              (Strings{"A.HTML", "b.html", "e.Html"}));
    EXPECT_EQ(Enumerate(dir.Path() + "*.htm", faAnyFile).Names, (Strings{"c.htm"}));
}

TEST(FindFileFailure, ADirectoryThatCannotBeOpenedYieldsNoEntryAndNoError) {
    TTempDir dir;
    std::string file = dir.Write("file.txt", "x");
    TSearchRec rec;
    EXPECT_EQ(FindFirst(dir.Path() + "missing/*.*", faAnyFile, rec), ENOENT);
    EXPECT_EQ(FindNext(rec), ENOENT);
    FindClose(rec);
    EXPECT_NE(FindFirst(file + PathDelim + "*.*", faAnyFile, rec), 0);
    FindClose(rec);
    // Nothing matched: not an error either, just no entry.
    EXPECT_EQ(FindFirst(dir.Path() + "*.html", faAnyFile, rec), ENOENT);
    FindClose(rec);
    EXPECT_EQ(FindNext(rec), ENOENT);
}

// The enumeration cannot tell a folder that is missing from one without matches; the scan asks
// this to name the sites it could not search.
TEST(FindFileFailure, CanListFolderTellsAFolderThatCannotBeReadFromAnEmptyOne) {
    TTempDir dir;
    const std::string empty = dir.MakeDir("empty");
    EXPECT_TRUE(CanListFolder(empty));
    EXPECT_TRUE(CanListFolder(""));
    EXPECT_FALSE(CanListFolder(dir.Path() + "missing" + PathDelim));
    EXPECT_FALSE(CanListFolder(dir.Write("file.txt", "x") + PathDelim));
#ifndef _WIN32
    fs::permissions(dir.MakeDir("closed"), fs::perms(0311));
    fs::permissions(dir.Path(), fs::perms(0755));
    EXPECT_EQ(Unprivileged([&] {
                  return Strings{CanListFolder(dir.Path() + "closed/") ? "listed" : "refused",
                                 CanListFolder(empty) ? "listed" : "refused"};
              }),
              (Strings{"refused", "listed"}));
#endif
}

TEST(FindFileFailure, TheEnumerationEndsAndCanStartAgain) {
    TTempDir dir;
    dir.Write("one", "x");
    TSearchRec rec;
    ASSERT_EQ(FindFirst(dir.Path() + "one", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "one");
    EXPECT_EQ(FindNext(rec), ENOENT);
    EXPECT_EQ(FindNext(rec), ENOENT);
    ASSERT_EQ(FindFirst(dir.Path() + "ONE", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "one");
    FindClose(rec);
    FindClose(rec);
}

TEST(FindFileFailure, AnEmptyDirectoryPartMeansTheWorkingFolder) {
    TTempDir dir;
    dir.Write("here.html", "x");
    fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    Strings names = Enumerate("*.html", faAnyFile).Names;
    fs::current_path(before);
    EXPECT_EQ(names, (Strings{"here.html"}));
}

} // namespace
