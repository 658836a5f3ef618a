#include "platform/file_names.h"
#include "platform/find_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <vector>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include "support/unprivileged.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <stdexcept>
#endif

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Every entry an enumeration yields, as name -> attribute word, and the names in order.
struct TFound {
    Strings Names;
    std::map<std::string, int> Attr;
    int FirstResult = -1;
};

TFound Enumerate(const std::string& pattern, int request) {
    TFound found;
    TSearchRec rec;
    found.FirstResult = FindFirst(pattern, request, rec);
    for (int result = found.FirstResult; result == 0; result = FindNext(rec)) {
        found.Names.push_back(rec.Name);
        found.Attr[rec.Name] = rec.Attr();
    }
    FindClose(rec);
    return found;
}

// What differs by platform: the attribute words, the order of entries (the file system's own on
// Windows) and what the system's own wildcards match.
#ifndef _WIN32

void MakeFifo(const std::string& path) {
    if (::mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("mkfifo " + path);
    }
}

void MakeSocket(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof(address.sun_path)) {
        throw std::runtime_error("socket " + path);
    }
    path.copy(address.sun_path, path.size());
    int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::close(fd); // the socket file stays
    if (bound != 0) {
        throw std::runtime_error("bind " + path);
    }
}

// A folder holding one entry of every kind the attribute table names.
class FindFileKinds : public ::testing::Test {
protected:
    void SetUp() override {
        Dir.Write("plain.txt", "x");
        Dir.Write("readonly.txt", "x");
        fs::permissions(Dir.Path() + "readonly.txt", fs::perms(0444));
        Dir.Write(".hidden.txt", "x");
        Dir.MakeDir("folder");
        Dir.MakeDir("rofolder");
        fs::permissions(Dir.Path() + "rofolder", fs::perms(0555));
        Dir.MakeDir(".hiddenfolder");
        MakeFifo(Dir.Path() + "pipe");
        MakeSocket(Dir.Path() + "sock");
        fs::create_symlink("plain.txt", Dir.Path() + "filelink");
        fs::create_symlink("folder", Dir.Path() + "dirlink");
        fs::create_symlink("nowhere", Dir.Path() + "dangling");
        fs::create_symlink("loop", Dir.Path() + "loop");
        fs::create_symlink(".hiddenfolder", Dir.Path() + "tohidden");
    }
    void TearDown() override { fs::permissions(Dir.Path() + "rofolder", fs::perms(0755)); }

    TTempDir Dir;
};

TEST_F(FindFileKinds, EachEntryCarriesTheAttributeWordOfTheLinuxTable) {
    TFound found = Enumerate(Dir.Path() + "*.*", faAnyFile);
    ASSERT_EQ(found.FirstResult, 0);
    std::map<std::string, int> expected = {
        {".", faDirectory},
        {"..", faDirectory},
        {"plain.txt", 0},
        {"readonly.txt", faReadOnly}, // the mode decides, even for root
        {".hidden.txt", faHidden},
        {"folder", faDirectory},
        {"rofolder", faDirectory | faReadOnly},
        {".hiddenfolder", faHidden | faDirectory},
        {"pipe", faSysFile},
        {"sock", faSysFile},
        {"filelink", 0},           // links are followed
        {"dirlink", faDirectory},  // ...to a directory
        {"dangling", faSysFile},   // a link that leads nowhere
        {"loop", faSysFile},       // ...nor does one that leads to itself
        {"tohidden", faDirectory}, // the link's own name decides "hidden"
    };
    EXPECT_EQ(found.Attr, expected);
}

TEST_F(FindFileKinds, EntriesCarryTheIdOfWhatTheyLeadTo) {
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Dir.Path() + "dirlink", faDirectory, rec), 0);
    TFileId folder;
    ASSERT_TRUE(GetFileId(Dir.Path() + "folder", folder));
    EXPECT_EQ(rec.Id(), folder);
    EXPECT_NE(rec.Id(), TFileId{});
    FindClose(rec);
}

TEST_F(FindFileKinds, RequestSixteenReturnsOrdinaryEntriesAndDirectoriesOnly) {
    Strings names = Enumerate(Dir.Path() + "*.*", faDirectory).Names;
    EXPECT_EQ(names, (Strings{".", "..", "dirlink", "filelink", "folder", "plain.txt",
                              "readonly.txt", "rofolder", "tohidden"}));
}

TEST_F(FindFileKinds, EachSpecialBitMustBeRequestedOnItsOwn) {
    // No special bit requested: plain and read-only files only, no directory, not even ".".
    EXPECT_EQ(Enumerate(Dir.Path() + "*", 0).Names,
              (Strings{"filelink", "plain.txt", "readonly.txt"}));
    // Hidden alone: the hidden file, but not the hidden directory, which is a directory too.
    EXPECT_EQ(Enumerate(Dir.Path() + ".h*", faHidden).Names, (Strings{".hidden.txt"}));
    EXPECT_EQ(Enumerate(Dir.Path() + ".h*", faHidden | faDirectory).Names,
              (Strings{".hidden.txt", ".hiddenfolder"}));
    // System: FIFOs, sockets and links that lead nowhere.
    EXPECT_EQ(
        Enumerate(Dir.Path() + "*", faSysFile).Names,
        (Strings{"dangling", "filelink", "loop", "pipe", "plain.txt", "readonly.txt", "sock"}));
    // Read-only and archive are no special bits: asking for them changes nothing.
    EXPECT_EQ(Enumerate(Dir.Path() + "*", faReadOnly | faArchive).Names,
              Enumerate(Dir.Path() + "*", 0).Names);
}

TEST_F(FindFileKinds, TheWordIsTheSameWhenAskedForPieceByPieceOrAfterFindClose) {
    TFound whole = Enumerate(Dir.Path() + "*.*", faAnyFile);
    std::map<std::string, int> pieces;
    std::map<std::string, int> afterClose;
    TSearchRec rec;
    for (int found = FindFirst(Dir.Path() + "*.*", faAnyFile, rec); found == 0;
         found = FindNext(rec)) {
        int attr = 0;
        for (int bit : {faDirectory, faHidden, faSysFile, faVolumeID, faArchive, faReadOnly}) {
            attr |= rec.HasAttr(bit) ? bit : 0;
        }
        pieces[rec.Name] = attr;
    }
    FindClose(rec);
    for (const auto& [name, attr] : whole.Attr) {
        TSearchRec one;
        ASSERT_EQ(FindFirst(Dir.Path() + name, faAnyFile, one), 0) << name;
        FindClose(one);
        afterClose[one.Name] = one.Attr(); // looked at through the path now
    }
    EXPECT_EQ(pieces, whole.Attr);
    afterClose.erase(".."); // "dir/.." names the parent by its path, not an entry of dir
    whole.Attr.erase("..");
    EXPECT_EQ(afterClose, whole.Attr);
}

int OpenDescriptors() {
    return static_cast<int>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST(FindFileReading, EachEnumerationReadsTheDirectoryAndClosesItAtFindClose) {
    TTempDir dir;
    dir.Write("a.html", "x");
    dir.MakeDir("other");
    int descriptors = OpenDescriptors();
    TSearchRec rec;
    ASSERT_EQ(FindFirst(dir.Path() + "*.html", faAnyFile, rec), 0);
    EXPECT_EQ(OpenDescriptors(), descriptors + 1); // for the looks at single entries
    FindClose(rec);
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(rec.Name, "a.html");
    dir.Write("b.html", "x");
    EXPECT_EQ(Enumerate(dir.Path() + "*.*", faDirectory).Names,
              (Strings{".", "..", "a.html", "b.html", "other"}));
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST(FindFileOrder, SortedByNameFoldedToUpperCaseThenByBytes) {
    TTempDir dir;
    for (const char* name : {"b", "a", "B", "A", "_x", "Zeta", "\xC3\xA4", "a.b", "ab", "[x"}) {
        dir.Write(name, "x");
    }
    // "_" (0x5F) and "[" (0x5B) come after every letter once letters are upper case.
    EXPECT_EQ(
        Enumerate(dir.Path() + "*.*", faAnyFile).Names,
        (Strings{".", "..", "A", "a", "a.b", "ab", "B", "b", "Zeta", "[x", "_x", "\xC3\xA4"}));
}

#else

// The word comes from the system as it stands, with whatever bits it holds beyond the six.
TEST(FindFileWords, EachEntryCarriesTheSystemsOwnAttributeWord) {
    TTempDir dir;
    const std::map<std::string, DWORD> set = {
        {"plain.txt", 0},
        {"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
        {"system.txt", FILE_ATTRIBUTE_SYSTEM},
        {"readonly.txt", FILE_ATTRIBUTE_READONLY},
        {"folder", FILE_ATTRIBUTE_DIRECTORY},
        {"hiddenfolder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN},
    };
    std::map<std::string, int> expected;
    for (const auto& [name, attr] : set) {
        std::string path =
            (attr & FILE_ATTRIBUTE_DIRECTORY) ? dir.MakeDir(name) : dir.Write(name, "x");
        if (attr & ~FILE_ATTRIBUTE_DIRECTORY) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), attr & ~FILE_ATTRIBUTE_DIRECTORY));
        }
        expected[name] = static_cast<int>(GetFileAttributesA(path.c_str()));
        EXPECT_EQ(expected[name] & (faAnyFile & ~faArchive), static_cast<int>(attr)) << name;
    }
    TFound found = Enumerate(dir.Path() + "*.*", faAnyFile);
    found.Attr.erase(".");
    found.Attr.erase("..");
    EXPECT_EQ(found.Attr, expected);
    // Request 16: no hidden or system entry, directories included.
    Strings ordinary = Enumerate(dir.Path() + "*", faDirectory).Names;
    std::sort(ordinary.begin(), ordinary.end());
    EXPECT_EQ(ordinary, (Strings{".", "..", "folder", "plain.txt", "readonly.txt"}));
}

#endif

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
    ASSERT_EQ(::chmod(dir.MakeDir("closed").c_str(), 0311), 0);
    ::chmod(dir.Path().c_str(), 0755);
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
