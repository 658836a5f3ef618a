#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

#ifndef _WIN32
TEST(FileNames, PathAndNameSplitAtTheLastSeparator) {
    EXPECT_EQ(ExtractFilePath("/web/shop/index.html"), "/web/shop/");
    EXPECT_EQ(ExtractFileName("/web/shop/index.html"), "index.html");
    EXPECT_EQ(ExtractFilePath("/web/shop/"), "/web/shop/");
    EXPECT_EQ(ExtractFileName("/web/shop/"), "");
    EXPECT_EQ(ExtractFilePath("index.html"), "");
    EXPECT_EQ(ExtractFileName("index.html"), "index.html");
    // ":" is an ordinary character of a name here.
    EXPECT_EQ(ExtractFilePath("/web/c:d.html"), "/web/");
}

TEST(FileNames, ChangeFileExtReplacesTheExtensionOfTheLastComponentOnly) {
    EXPECT_EQ(ChangeFileExt("/out/report.txt", ".bak"), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/out/report", ".bak"), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/out/report.tar.gz", ".bak"), "/out/report.tar.bak");
    EXPECT_EQ(ChangeFileExt("/out/report.", ".bak"), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/out.d/report", ".bak"), "/out.d/report.bak");
    EXPECT_EQ(ChangeFileExt("/out/report.bak", ".bak"), "/out/report.bak");
    EXPECT_EQ(ChangeFileExt("/home/.profile", ".bak"), "/home/.bak");
    EXPECT_EQ(ChangeFileExt("/opt/allcheck", ".INI"), "/opt/allcheck.INI");
}

#else
TEST(FileNames, PathAndNameSplitAtTheLastSeparatorOrColon) {
    EXPECT_EQ(ExtractFilePath("C:\\web\\shop\\index.html"), "C:\\web\\shop\\");
    EXPECT_EQ(ExtractFileName("C:\\web\\shop\\index.html"), "index.html");
    EXPECT_EQ(ExtractFilePath("C:\\web\\shop\\"), "C:\\web\\shop\\");
    EXPECT_EQ(ExtractFileName("C:\\web\\shop\\"), "");
    // ":" ends the drive's part; "/" separates as the system reads it.
    EXPECT_EQ(ExtractFilePath("C:index.html"), "C:");
    EXPECT_EQ(ExtractFileName("C:index.html"), "index.html");
    EXPECT_EQ(ExtractFilePath("C:/web/shop/index.html"), "C:/web/shop/");
    EXPECT_EQ(ExtractFileName("C:\\web/index.html"), "index.html");
}

// 表 is 95 5C and ソ is 83 5C in code page 932: their second byte is that of "\".
TEST(FileNames, ABackslashInsideADoubleByteCharacterIsNoSeparator) {
    EXPECT_EQ(ExtractFilePath("C:\\web\\\x95\x5C"), "C:\\web\\");
    EXPECT_EQ(ExtractFileName("C:\\web\\\x95\x5C"), "\x95\x5C");
    EXPECT_EQ(ExtractFilePath("C:\\\x95\x5C\x8E\x86\\a.html"), "C:\\\x95\x5C\x8E\x86\\");
    // The extension ".ソ" is replaced, not taken for a name without a dot.
    EXPECT_EQ(ChangeFileExt("C:\\out\\report.\x83\x5C", ".bak"), "C:\\out\\report.bak");
    EXPECT_EQ(ChangeFileExt("C:\\out.d\\report", ".bak"), "C:\\out.d\\report.bak");
    EXPECT_EQ(ChangeFileExt("C:report", ".INI"), "C:report.INI");
}
#endif

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
