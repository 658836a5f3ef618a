// Which paths name one file is the file system's rule: on Windows, letter case and the
// separator written are ignored.
#include "files/file_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Items(const TFileList& list) {
    return Strings(list.begin(), list.end());
}

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

} // namespace
