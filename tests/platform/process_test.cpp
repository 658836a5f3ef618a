#include "platform/command_words.h"
#include "platform/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

Words Split(std::string_view command) {
    std::optional<Words> words = SplitCommandWords(command);
    EXPECT_TRUE(words) << command;
    return words.value_or(Words{"<unbalanced>"});
}

TEST(SplitCommandWords, BlanksSeparateAndQuotesJoin) {
    EXPECT_EQ(Split("tidy  -q\t-e\n-f out.txt"), (Words{"tidy", "-q", "-e", "-f", "out.txt"}));
    EXPECT_EQ(Split("'/opt/my checker' -f \"/tmp/my out.txt\""),
              (Words{"/opt/my checker", "-f", "/tmp/my out.txt"}));
    EXPECT_EQ(Split("a'b c'\"d\"e"), Words{"ab cde"});
    EXPECT_EQ(Split("''"), Words{""});
    EXPECT_EQ(Split("   "), Words{});
}

TEST(SplitCommandWords, BackslashesFollowTheShell) {
    EXPECT_EQ(Split(R"(my\ checker a\\b \'x)"), (Words{"my checker", R"(a\b)", "'x"}));
    EXPECT_EQ(Split(R"("a\"b\\c\$d\e")"), Words{R"(a"b\c$d\e)"});
    EXPECT_EQ(Split(R"('a\b')"), Words{R"(a\b)"});
    EXPECT_EQ(Split("a\\\nb"), Words{"ab"});
}

TEST(SplitCommandWords, NothingIsExpanded) {
    EXPECT_EQ(Split("echo $HOME ~ *.html `id` $(id) a;b|c>d"),
              (Words{"echo", "$HOME", "~", "*.html", "`id`", "$(id)", "a;b|c>d"}));
}

TEST(SplitCommandWords, UnclosedQuotesAndATrailingBackslashGiveNothing) {
    EXPECT_FALSE(SplitCommandWords("tidy 'unclosed"));
    EXPECT_FALSE(SplitCommandWords("tidy \"unclosed"));
    EXPECT_FALSE(SplitCommandWords("tidy \\"));
}

} // namespace
