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

// cmd.exe turns delayed expansion on for /V followed by anything but ":OFF", and so extensions
// for /E; a page's ! or % is refused on what these say.
TEST(ReadCommandSwitches, ReadsThemAsCmdDoes) {
    const std::optional<bool> unset, on = true, off = false;
    const struct {
        std::string_view Switches;
        std::optional<bool> Delayed, Extensions;
        std::size_t Command;
    } cases[] = {{"/d /c x.bat", unset, unset, 6},
                 {"/v /c x", on, unset, 6},
                 {"/V:1 /c x", on, unset, 8},
                 {"/d/v:yes/c x", on, unset, 11},
                 {"/V:OFF /c x", off, unset, 10},
                 {"/v:on /v:off /c x", on, unset, 16},
                 {"/E:OFF /c x", unset, off, 10},
                 {"/e /y /c x", unset, off, 9},
                 {"/x /k  x", unset, on, 7},
                 {"/cx /v:on", unset, unset, 2},
                 {"/d", unset, unset, std::string_view::npos}};
    for (const auto& c : cases) {
        const TCommandSwitches read = ReadCommandSwitches(c.Switches);
        EXPECT_EQ(read.DelayedExpansion, c.Delayed) << c.Switches;
        EXPECT_EQ(read.Extensions, c.Extensions) << c.Switches;
        EXPECT_EQ(read.Command, c.Command) << c.Switches;
    }
}

} // namespace
