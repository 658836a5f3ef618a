#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <cerrno>
#include <sys/stat.h>
#endif

namespace {

#ifdef _WIN32
constexpr int NoSuchFile = ERROR_FILE_NOT_FOUND;
constexpr int IsAFolder = ERROR_ACCESS_DENIED;
#else
constexpr int NoSuchFile = ENOENT;
constexpr int IsAFolder = EISDIR;
#endif

TEST(FileIo, ErrorsCarryTheOsCodeAndAReadableMessage) {
    TTempDir dir;
    try {
        ReadFileBytes(dir.Path() + "missing.txt");
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, NoSuchFile);
        EXPECT_NE(error.Message.find("missing.txt"), std::string::npos) << error.Message;
#ifndef _WIN32 // the system's text is in the user's language on Windows
        EXPECT_NE(error.Message.find("No such file"), std::string::npos) << error.Message;
#endif
        EXPECT_EQ(error.Message.find('\n'), std::string::npos) << error.Message;
    }
    try {
        WriteFileBytes(dir.MakeDir("folder"), "x");
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, IsAFolder);
    }
}

#ifndef _WIN32
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
#else
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
#endif

// Written in place, a file with another name would change under that name too.
TEST(FileIo, AFileWithAnotherNameIsNotWrittenInPlace) {
    TTempDir dir;
    const std::string page = dir.Write("site/a.html", "<p>page</p>");
    const std::string other = dir.Path() + "out.txt";
    std::filesystem::create_hard_link(page, other);
    EXPECT_THROW(WriteFileBytes(other, "report"), EInOutError);
    EXPECT_EQ(ReadAll(page), "<p>page</p>");
}

TEST(FileIo, TempFileBesideGivesNothingWhereTheFolderIsMissing) {
    TTempDir dir;
    EXPECT_FALSE(TFile::CreateTempBeside(dir.Path() + "none" + PathDelim + "report.txt"));
}

} // namespace
