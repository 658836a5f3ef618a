#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

// The system's codes, and its text where that is not in the user's language.
#ifdef _WIN32
#include "platform/win32/windows_api.h"

constexpr int NoSuchFile = ERROR_FILE_NOT_FOUND;
constexpr int IsAFolder = ERROR_ACCESS_DENIED;
const std::string NoSuchFileText = "";
#else
#include <cerrno>

constexpr int NoSuchFile = ENOENT;
constexpr int IsAFolder = EISDIR;
const std::string NoSuchFileText = "No such file";
#endif

namespace {

TEST(FileIo, ErrorsCarryTheOsCodeAndAReadableMessage) {
    TTempDir dir;
    try {
        ReadFileBytes(dir.Path() + "missing.txt");
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, NoSuchFile);
        EXPECT_NE(error.Message.find("missing.txt"), std::string::npos) << error.Message;
        EXPECT_NE(error.Message.find(NoSuchFileText), std::string::npos) << error.Message;
        EXPECT_EQ(error.Message.find('\n'), std::string::npos) << error.Message;
    }
    try {
        WriteFileBytes(dir.MakeDir("folder"), "x");
        FAIL();
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, IsAFolder);
    }
}

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
