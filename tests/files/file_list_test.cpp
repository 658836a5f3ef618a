// The list of pages as both systems keep it; which paths name one file is the file system's
// rule, tested in posix/ and win32/file_list_test.cpp.
#include "files/file_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileList, ManyShortPathsStayFindableAsTheListGrows) {
    TFileList list;
    for (int i = 0; i < 20000; ++i) {
        ASSERT_TRUE(list.Add(std::to_string(i)));
    }
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(list.IndexOf(std::to_string(i)), i);
        ASSERT_FALSE(list.Add(std::to_string(i)));
        ASSERT_EQ(list[i], std::to_string(i));
    }
    EXPECT_EQ(list.Count(), 20000);
}

} // namespace
