#include "platform/file_io.h"
#include "platform/file_names.h"
#include "platform/win32/windows_api.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(FileIo, TempFileBesideTakesTheTargetsHiddenAndSystemBits) {
    TTempDir dir;
    std::string target = dir.Write("report.txt", "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    std::optional<TFile> temp = TFile::CreateTempBeside(target);
    ASSERT_TRUE(temp);
    EXPECT_EQ(ExtractFilePath(temp->Path()), dir.Path());
    temp->WriteAll("new"); // the bits do not keep the open file from being written
    EXPECT_EQ(GetFileAttributesA(temp->Path().c_str()) &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

} // namespace
