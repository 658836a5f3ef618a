#include "platform/exceptions.h"
#include "platform/string_list.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> CommaText(std::string_view text) {
    TStringList list;
    list.SetCommaText(text);
    return list.Items();
}

std::vector<std::string> Lines(std::string_view text) {
    TStringList list;
    list.SetText(text);
    return list.Items();
}

using Strings = std::vector<std::string>;

TEST(CommaText, SplitsAtCommasAndBlanksOutsideQuotes) {
    EXPECT_EQ(CommaText("/web/a/,/web/b/"), (Strings{"/web/a/", "/web/b/"}));
    EXPECT_EQ(CommaText("  a ,\tb c  "), (Strings{"a", "b", "c"}));
    EXPECT_EQ(CommaText(""), Strings{});
    EXPECT_EQ(CommaText("   "), Strings{});
}

TEST(CommaText, QuotedEntriesKeepBlanksCommasAndDoubledQuotes) {
    EXPECT_EQ(CommaText(R"("/web/my site/","a,b",x)"), (Strings{"/web/my site/", "a,b", "x"}));
    EXPECT_EQ(CommaText(R"("say ""hi""")"), Strings{R"(say "hi")"});
    EXPECT_EQ(CommaText(R"("unclosed, to the end)"), Strings{"unclosed, to the end"});
    EXPECT_EQ(CommaText(R"("")"), Strings{""});
}

TEST(CommaText, EmptyEntriesBetweenCommasAreKeptButATrailingCommaAddsNone) {
    EXPECT_EQ(CommaText("a,,b"), (Strings{"a", "", "b"}));
    EXPECT_EQ(CommaText("a,"), Strings{"a"});
}

TEST(CommaText, BytesAboveAsciiAreNeverBlanks) {
    // A signed-char comparison would take these for blanks and split the name.
    EXPECT_EQ(CommaText("/web/\xE6\x97\xA5\xA0\xFF/"), Strings{"/web/\xE6\x97\xA5\xA0\xFF/"});
    EXPECT_EQ(CommaText(std::string_view("a\0b", 3)), (Strings{"a", "b"}));
}

TEST(StringListLines, EndAtCrLfLfOrCr) {
    EXPECT_EQ(Lines("a\r\nb\nc\rd"), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(Lines("a\n\nb\n"), (Strings{"a", "", "b"}));
    EXPECT_EQ(Lines("\r\n"), Strings{""});
    EXPECT_EQ(Lines(""), Strings{});
}

TEST(StringList, IndexOutsideTheListRaisesListError) {
    TStringList list;
    list.Add("only");
    EXPECT_EQ(list[0], "only");
    EXPECT_THROW(list[1], EListError);
    try {
        list[-1];
        FAIL();
    } catch (const EListError& error) {
        EXPECT_NE(error.Message.find("(-1)"), std::string::npos) << error.Message;
    }
}

} // namespace
