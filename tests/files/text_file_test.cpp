#include "files/text_file.h"
#include "platform/exceptions.h"
#include "support/pinned_file.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

#ifndef _WIN32
#include "support/unprivileged.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace std::string_literals;

const std::string Awkward = "line\r\nlone\nnul\0end\x80\xFF\x81\x79"s;

// What the file at path is now, for a save that replaces it; nothing where none is.
std::optional<TFileId> IdOf(const std::string& path) {
    TFileId id;
    return GetFileId(path, id) ? std::optional(id) : std::nullopt;
}

std::vector<std::string> Names(const TTempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TextFile, RoundTripIsByteExact) {
    TTempDir dir;
    const std::string path = dir.Path() + "report.txt";
    SaveTextFile(path, Awkward, std::nullopt);
    EXPECT_EQ(ReadAll(path), Awkward);
    EXPECT_EQ(LoadTextFile(path), Awkward);
}

TEST(TextFile, EmptyTextMakesAnEmptyFileAndLoadsEmpty) {
    TTempDir dir;
    const std::string path = dir.Path() + "report.txt";
    SaveTextFile(path, "", std::nullopt);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_EQ(LoadTextFile(path), "");
}

TEST(TextFile, SavingOverAFileKeepsItAsTheOnlyBackup) {
    TTempDir dir;
    const std::string path = dir.Write("report.txt", "previous");
    dir.Write("report.bak", "older");
    SaveTextFile(path, "new", IdOf(path));
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(ReadAll(dir.Path() + "report.bak"), "previous");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"report.bak", "report.txt"}));
}

TEST(TextFile, SavingUnderANewNameLeavesAFileOfTheBackupNameAlone) {
    TTempDir dir;
    dir.Write("report.bak", "unrelated");
    SaveTextFile(dir.Path() + "report.txt", "new", std::nullopt);
    EXPECT_EQ(ReadAll(dir.Path() + "report.bak"), "unrelated");
    EXPECT_EQ(ReadAll(dir.Path() + "report.txt"), "new");
}

TEST(TextFile, SavingToABakNameKeepsNoBackup) {
    TTempDir dir;
    const std::string path = dir.Write("report.bak", "old");
    SaveTextFile(path, "new", IdOf(path));
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"report.bak"});
}

#ifndef _WIN32 // links, permission bits
TEST(TextFile, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
    TTempDir dir;
    const std::string target = dir.Write("real/report.txt", "previous");
    const std::string link = dir.Path() + "out.txt";
    std::filesystem::create_symlink("real/report.txt", link);
    SaveTextFile(link, "new", IdOf(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(ReadAll(dir.Path() + "real/report.bak"), "previous");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"out.txt", "real"}));
    // A link that leads nowhere yet makes its target, through a link in the way too.
    std::filesystem::create_directory_symlink("real", dir.Path() + "alias");
    std::filesystem::create_symlink("alias/new.txt", dir.Path() + "dangling.txt");
    SaveTextFile(dir.Path() + "dangling.txt", "made", std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() + "dangling.txt"));
    EXPECT_EQ(ReadAll(dir.Path() + "real/new.txt"), "made");
}

TEST(TextFile, SavingKeepsTheFilesPermissions) {
    TTempDir dir;
    const std::string path = dir.Write("report.txt", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    SaveTextFile(path, "new", IdOf(path));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0604));
}

// Root may write any file, so the read-only file is loaded by a process that may not.
TEST(TextFile, LoadingAMissingFileRaisesAndAReadOnlyFileLoads) {
    TTempDir dir;
    EXPECT_THROW(LoadTextFile(dir.Path() + "missing.txt"), EInOutError);
    const std::string path = dir.Write("ro.txt", Awkward);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms(0755));
    EXPECT_EQ(Unprivileged([&] {
                  return std::vector<std::string>{LoadTextFile(path) == Awkward ? "same" : "not"};
              }),
              std::vector<std::string>{"same"});
}

#endif

TEST(TextFile, ARenameOntoAFolderRaisesAndLeavesNoTemporaryFile) {
    TTempDir dir;
    dir.MakeDir("report.txt");
    EXPECT_THROW(SaveTextFile(dir.Path() + "report.txt", "new", IdOf(dir.Path() + "report.txt")),
                 EInOutError);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"report.txt"});
}

#ifndef _WIN32 // resource limits, the immutable flag
// Root ignores file permissions, so the write is made to fail by a file size limit, in a child
// process that ignores SIGXFSZ and so gets EFBIG from write().
TEST(TextFile, AWriteThatFailsHalfWayLeavesFileAndBackupAsTheyWere) {
    TTempDir dir;
    const std::string path = dir.Write("report.txt", "previous");
    dir.Write("report.bak", "older");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SaveTextFile(path, std::string(100000, 'x'), IdOf(path));
        } catch (const EInOutError& error) {
            ::_exit(error.ErrorCode == EFBIG ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no failure raised, 2: another error";
    EXPECT_EQ(ReadAll(path), "previous");
    EXPECT_EQ(ReadAll(dir.Path() + "report.bak"), "older");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"report.bak", "report.txt"}));
}

TEST(TextFile, AFolderThatTakesNoNewFileIsWrittenInPlace) {
    TTempDir dir;
    const std::string folder = dir.MakeDir("locked");
    const std::string path = dir.Write("locked/report.txt", "previous");
    dir.Write("locked/report.bak", "older");
    Immutable locked(folder);
    ASSERT_TRUE(locked.Ok) << "this test needs a file system with the immutable flag";
    SaveTextFile(path, Awkward, IdOf(path));
    EXPECT_EQ(ReadAll(path), Awkward);
    EXPECT_EQ(ReadAll(folder + "report.bak"), "older");
}

#endif

// A file that cannot be moved to its backup name: the save fails at its last step; the file
// keeps its content, the older backup stays and no temporary file is left.
TEST(TextFile, AFileThatCannotBeMovedAsideKeepsItsContentAndTheOlderBackup) {
    TTempDir dir;
    const std::string path = dir.Write("report.txt", "previous");
    dir.Write("report.bak", "older");
    {
        TPinnedFile pinned(path);
        ASSERT_TRUE(pinned.Ok) << "this test needs a file system with the immutable flag";
        EXPECT_THROW(SaveTextFile(path, "new", IdOf(path)), EInOutError);
    }
    EXPECT_EQ(ReadAll(path), "previous");
    EXPECT_EQ(ReadAll(dir.Path() + "report.bak"), "older");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"report.bak", "report.txt"}));
}

// A backup that cannot be replaced is no reason to lose the new text: the file takes it
// without a backup, the older one staying as it was.
TEST(TextFile, ABackupThatCannotBeReplacedLeavesTheNewTextInPlace) {
    TTempDir dir;
    const std::string path = dir.Write("report.txt", "previous");
    const std::string backup = dir.Write("report.bak", "older");
    {
        TPinnedFile pinned(backup);
        ASSERT_TRUE(pinned.Ok) << "this test needs a file system with the immutable flag";
        SaveTextFile(path, "new", IdOf(path));
    }
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(ReadAll(backup), "older");
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"report.bak", "report.txt"}));
}

} // namespace
