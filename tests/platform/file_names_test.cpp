#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

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

TEST(FileNames, FileExistsOnlyForFiles) {
    TTempDir dir;
    std::string file = dir.Write("a.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.MakeDir("sub")));
    EXPECT_FALSE(FileExists(dir.Path() + "missing"));
}

TEST(FileNames, RenameRefusesToReplaceAndDeleteReportsSuccess) {
    TTempDir dir;
    std::string a = dir.Write("a", "A");
    std::string b = dir.Write("b", "B");
    EXPECT_FALSE(RenameFile(a, b));
    EXPECT_EQ(ReadAll(b), "B");
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
    EXPECT_TRUE(RenameFile(a, b));
    EXPECT_EQ(ReadAll(b), "A");
    EXPECT_FALSE(FileExists(a));
}

} // namespace
