// Saving and loading as both systems do it; what only Linux has is in posix/text_file_test.cpp.
#include "platform/exceptions.h"
#include "support/pinned_file.h"
#include "text_file_helpers.h"

#include <gtest/gtest.h>

namespace {

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

TEST(TextFile, ARenameOntoAFolderRaisesAndLeavesNoTemporaryFile) {
    TTempDir dir;
    dir.MakeDir("report.txt");
    EXPECT_THROW(SaveTextFile(dir.Path() + "report.txt", "new", IdOf(dir.Path() + "report.txt")),
                 EInOutError);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"report.txt"});
}

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
