// The enumeration on Linux: the attribute words of the Linux table, the entries' order, and
// what it holds open.
#include "find_file_helpers.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

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

} // namespace
