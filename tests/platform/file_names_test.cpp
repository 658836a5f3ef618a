#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNames, PathAndNameSplitAtTheLastSeparator) {
    const TPathStyle posix = TPathStyle::Posix;
    EXPECT_EQ(ExtractFilePath("/web/shop/index.html", posix), "/web/shop/");
    EXPECT_EQ(ExtractFileName("/web/shop/index.html", posix), "index.html");
    EXPECT_EQ(ExtractFilePath("/web/shop/", posix), "/web/shop/");
    EXPECT_EQ(ExtractFileName("/web/shop/", posix), "");
    EXPECT_EQ(ExtractFilePath("index.html", posix), "");
    EXPECT_EQ(ExtractFileName("index.html", posix), "index.html");
    // ":" and "\" are ordinary characters of a name here.
    EXPECT_EQ(ExtractFilePath("/web/c:d.html", posix), "/web/");
    EXPECT_EQ(ExtractFileName("/web/a\\b.html", posix), "a\\b.html");
}

TEST(FileNames, OnWindowsEitherSlashOrTheDrivesColonEndsTheFolderPart) {
    const TPathStyle windows = TPathStyle::Windows;
    EXPECT_EQ(ExtractFilePath("C:\\web\\shop\\index.html", windows), "C:\\web\\shop\\");
    EXPECT_EQ(ExtractFileName("C:\\web\\shop\\index.html", windows), "index.html");
    EXPECT_EQ(ExtractFileName("C:\\web\\shop\\", windows), "");
    EXPECT_EQ(ExtractFilePath("C:index.html", windows), "C:");
    EXPECT_EQ(ExtractFileName("C:index.html", windows), "index.html");
    EXPECT_EQ(ExtractFilePath("C:/web/shop/index.html", windows), "C:/web/shop/");
    EXPECT_EQ(ExtractFileName("C:\\web/index.html", windows), "index.html");
}

TEST(FileNames, ChangeFileExtReplacesTheExtensionOfTheLastComponentOnly) {
    const TPathStyle posix = TPathStyle::Posix;
    EXPECT_EQ(ChangeFileExt("/out/report.txt", ".bak", posix), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/out/report", ".bak", posix), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/out/report.tar.gz", ".bak", posix), "/out/report.tar.bak");
    EXPECT_EQ(ChangeFileExt("/out/report.", ".bak", posix), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/out.d/report", ".bak", posix), "/out.d/report.bak");
    EXPECT_EQ(ChangeFileExt("/out/report.bak", ".bak", posix), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/home/.profile", ".bak", posix), "/home/.bak");
    EXPECT_EQ(ChangeFileExt("/opt/allcheck", ".INI", posix), "/opt/allcheck.INI");
    const TPathStyle windows = TPathStyle::Windows;
    EXPECT_EQ(ChangeFileExt("C:\\out.d\\report", ".bak", windows), "C:\\out.d\\report.bak");
    EXPECT_EQ(ChangeFileExt("C:\\out.d/report", ".bak", windows), "C:\\out.d/report.bak");
    EXPECT_EQ(ChangeFileExt("C:report", ".INI", windows), "C:report.INI");
}

TEST(FileNames, FileExistsOnlyForFiles) {
    TTempDir dir;
    std::string file = dir.Write("a.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.MakeDir("sub")));
    EXPECT_FALSE(FileExists(dir.Path() + "missing"));
}

TEST(FileNames, ReplaceTakesTheOtherNameAndDeleteReportsSuccess) {
    TTempDir dir;
    std::string a = dir.Write("a", "A");
    std::string b = dir.Write("b", "B");
    ReplaceFile(a, b);
    EXPECT_EQ(ReadAll(b), "A");
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
}

} // namespace
