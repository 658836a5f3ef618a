// Saving and loading on Linux: links, permission bits, resource limits and the immutable flag.
#include "platform/exceptions.h"
#include "support/posix/immutable.h"
#include "support/unprivileged.h"
#include "text_file_helpers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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
    // In place too, only the approved file is written.
    EXPECT_THROW(SaveTextFile(path, "other", TFileId{}), EFileReplaced);
    EXPECT_EQ(ReadAll(path), Awkward);
}

} // namespace
