// Which paths name one file is the file system's rule: on Linux, byte equality.
#include "files/file_list.h"

#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Items(const TFileList& list) {
    return Strings(list.begin(), list.end());
}

TEST(FileList, KeepsTheFirstPositionAndTellsByteEqualPathsApart) {
    TFileList list;
    EXPECT_TRUE(list.Add("/w/b.html"));
    EXPECT_TRUE(list.Add("/w/A.html"));
    EXPECT_TRUE(list.Add("/w/a.html"));
    EXPECT_FALSE(list.Add("/w/b.html"));
    EXPECT_EQ(Items(list), (Strings{"/w/b.html", "/w/A.html", "/w/a.html"}));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf("/w/a.html"), 2);
    EXPECT_EQ(list.IndexOf("/w/A.HTML"), -1);
    EXPECT_EQ(list[1], "/w/A.html");
    EXPECT_THROW(list[3], EListError);
    EXPECT_THROW(list[-1], EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Add("/w/b.html"));
}

TEST(FileList, TheSameFileRuleIsByteEquality) {
    EXPECT_TRUE(TSameFileRule::Equal("/w/a.html", "/w/a.html"));
    EXPECT_FALSE(TSameFileRule::Equal("/w/a.html", "/w/A.html"));
    EXPECT_FALSE(TSameFileRule::Equal("/w/a.html", "/w//a.html"));
}

} // namespace
