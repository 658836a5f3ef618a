#include "settings/ini_lookup.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

class IniLookup : public ::testing::Test {
protected:
    std::string Lookup(std::string_view content) {
        return ReadIniString(Dir.Write("KESTOLA.INI", content), "Directory", "LocalPath", "DEF",
                             Problems);
    }
    TTempDir Dir;
    TSettingsProblems Problems;
};

TEST(KeyAndValue, OnlyTheFirstEqualsSignSeparates) {
    EXPECT_TRUE(KeyMatches("LocalPath", "LocalPath=a=b"));
    EXPECT_EQ(ValueOf("LocalPath=a=b"), "a=b");
    EXPECT_FALSE(KeyMatches("LocalPath", "LocalPath =a"));
    EXPECT_FALSE(KeyMatches("LocalPath", "localpath=a"));
    EXPECT_EQ(ValueOf("LocalPath= a "), " a ");
    // A line without "=" has the empty key and is wholly its own value.
    EXPECT_TRUE(KeyMatches("", "no equals"));
    EXPECT_FALSE(KeyMatches("LocalPath", "LocalPath"));
    EXPECT_EQ(ValueOf("no equals"), "no equals");
}

TEST_F(IniLookup, FindsTheKeyInTheSectionWhateverTheLineEnds) {
    EXPECT_EQ(Lookup("[Other]\r\nLocalPath=no\r\n[Directory]\r\nLocalPath=/web/a/\r\n"), "/web/a/");
    EXPECT_EQ(Lookup("[Directory]\nX=1\nLocalPath=/web/a/"), "/web/a/");
    EXPECT_EQ(Lookup("[Directory]\rLocalPath=/web/a/\r"), "/web/a/");
}

TEST_F(IniLookup, TheHeaderMustMatchExactly) {
    EXPECT_EQ(Lookup("[Directory] \nLocalPath=/a/\n"), "DEF");
    EXPECT_EQ(Lookup("[directory]\nLocalPath=/a/\n"), "DEF");
    EXPECT_EQ(Lookup(" [Directory]\nLocalPath=/a/\n"), "DEF");
    EXPECT_EQ(Lookup("[Directory]"), "DEF");
    EXPECT_EQ(Lookup("[Directory]\n"), "DEF");
}

TEST_F(IniLookup, KeyLinesAreExactAndTheFirstWins) {
    EXPECT_EQ(Lookup("[Directory]\nLocalPath =/no/\nLocalPath=/yes/\n"), "/yes/");
    EXPECT_EQ(Lookup("[Directory]\n\n; comment\nLocalPath=/first/\nLocalPath=/second/\n"),
              "/first/");
    EXPECT_EQ(Lookup("[Directory]\nLocalPath=a=b\n"), "a=b");
    EXPECT_EQ(Lookup("[Directory]\nLocalPath=\n"), "");
}

TEST_F(IniLookup, TheScanStopsAtTheNextSectionAndOnlyTheFirstHeaderCounts) {
    EXPECT_EQ(Lookup("[Directory]\nX=1\n[Next]\nLocalPath=/later/\n"), "DEF");
    EXPECT_EQ(Lookup("[Directory]\n[\nLocalPath=/later/\n"), "DEF");
    EXPECT_EQ(Lookup("[Directory]\nX=1\n[Directory]\nLocalPath=/second/\n"), "DEF");
}

TEST_F(IniLookup, AVeryLongValueComesBackWhole) {
    std::string value(1 << 20, 'x');
    EXPECT_EQ(Lookup("[Directory]\nLocalPath=" + value + "\n"), value);
}

TEST_F(IniLookup, MissingOrUnreadableFileGivesTheDefault) {
    EXPECT_EQ(ReadIniString(Dir.Path() + "none.INI", "Directory", "LocalPath", "DEF", Problems),
              "DEF");
    EXPECT_EQ(ReadIniString(Dir.MakeDir("folder.INI"), "Directory", "LocalPath", "DEF", Problems),
              "DEF");
    EXPECT_TRUE(Problems.empty());
}

TEST_F(IniLookup, ArbitraryBytesAreHandledAsBytes) {
    EXPECT_EQ(Lookup("\xFF[Directory]\n[Directory]\nLocalPath=\x01\x81\x79\xFF\n"),
              "\x01\x81\x79\xFF");
}

} // namespace
