#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {

TEST(FileIo, ErrorsCarryTheOsCodeAndAReadableMessage) {
    TTempDir dir;
    try {
        ReadFileBytes(dir.Path() + "missing.txt");
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, ENOENT);
        EXPECT_NE(error.Message.find("missing.txt"), std::string::npos) << error.Message;
        EXPECT_NE(error.Message.find("No such file"), std::string::npos) << error.Message;
    }
    try {
        WriteFileBytes(dir.MakeDir("folder"), "x");
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, EISDIR);
    }
}

TEST(FileIo, TempFileBesideTakesTheTargetsPermissions) {
    TTempDir dir;
    std::string target = dir.Write("report.txt", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::optional<TFile> temp = TFile::CreateTempBeside(target);
    ASSERT_TRUE(temp);
    EXPECT_EQ(ExtractFilePath(temp->Path()), dir.Path());
    struct stat info;
    ASSERT_EQ(::stat(temp->Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(FileIo, TempFileBesideGivesNothingWhereTheFolderIsMissing) {
    TTempDir dir;
    EXPECT_FALSE(TFile::CreateTempBeside(dir.Path() + "none/report.txt"));
}

} // namespace
