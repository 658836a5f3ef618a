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

// Which paths name one file is the file system's rule: byte equality on Linux, letter case and
// the separator written ignored on Windows.
#ifndef _WIN32
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

#else
TEST(FileList, LetterCaseOrTheSeparatorWrittenDoesNotMakeAnotherFile) {
    TFileList list;
    EXPECT_TRUE(list.Add("C:\\w\\b.html"));
    EXPECT_FALSE(list.Add("c:\\W\\B.HTML"));
    EXPECT_FALSE(list.Add("C:/w/b.html"));
    EXPECT_EQ(list.IndexOf("C:\\W\\b.Html"), 0);
    // Full-width letters fold too: ａ (82 81) and Ａ (82 60) name one file.
    EXPECT_TRUE(list.Add("C:\\w\\\x82\x81.html"));
    EXPECT_FALSE(list.Add("C:\\w\\\x82\x60.html"));
    // A second byte is no letter: ヂ (83 61) is not ア (83 41).
    EXPECT_TRUE(list.Add("C:\\w\\\x83\x61.html"));
    EXPECT_TRUE(list.Add("C:\\w\\\x83\x41.html"));
    EXPECT_EQ(Items(list), (Strings{"C:\\w\\b.html", "C:\\w\\\x82\x81.html", "C:\\w\\\x83\x61.html",
                                    "C:\\w\\\x83\x41.html"}));
}
#endif

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
