#include "platform/file_io.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

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

} // namespace
