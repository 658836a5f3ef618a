#include "files/parent_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(ParentDir, IgnoresTheFinalCharacterAndKeepsTheLastSeparator) {
    const auto posix = [](std::string_view path) { return ParentDir(path, TPathStyle::Posix); };
    EXPECT_EQ(posix("/web/shop/"), "/web/");
    EXPECT_EQ(posix("/web/shop"), "/web/");
    EXPECT_EQ(posix("/"), "");
    EXPECT_EQ(posix("shop/"), "");
    EXPECT_EQ(posix(""), "");
    EXPECT_EQ(posix("/web/"), "/");
    EXPECT_EQ(posix("web/shop/"), "web/");
    EXPECT_EQ(posix("c:/"), ""); // ":" is an ordinary character here
    EXPECT_EQ(posix("/web//"), "/web/");
    EXPECT_EQ(posix("a"), "");
}

TEST(ParentDir, OnWindowsEitherSlashSeparates) {
    const auto windows = [](std::string_view path) { return ParentDir(path, TPathStyle::Windows); };
    EXPECT_EQ(windows("C:\\web\\shop\\"), "C:\\web\\");
    EXPECT_EQ(windows("C:\\web\\shop"), "C:\\web\\");
    EXPECT_EQ(windows("C:/web/shop/"), "C:/web/");
    EXPECT_EQ(windows("C:\\web/shop\\"), "C:\\web/");
    EXPECT_EQ(windows("C:\\"), "");
    EXPECT_EQ(windows("shop\\"), "");
    EXPECT_EQ(windows(""), "");
}

} // namespace
