#include "platform/narrow_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The styles that read paths in code page 932: the Windows rules anywhere, and on a Windows
// machine the system's own (its code page is 932 where the tests run).
std::vector<TPathStyle> CodePage932Styles() {
    std::vector<TPathStyle> styles{TPathStyle::Windows};
    if (NativeIsWindows) {
        styles.push_back(TPathStyle::Native);
    }
    return styles;
}

// 表 is 95 5C and ソ is 83 5C in code page 932: their second byte is that of "\". Every rule
// that splits a path finds its separators and its final character through these two.
TEST(NarrowText, ACodePage932CharacterIsNeverCutAtItsSecondByte) {
    for (TPathStyle style : CodePage932Styles()) {
        EXPECT_EQ(LastDelimiter("\\", "C:\\web\\\x95\x5C", style), 6u);
        EXPECT_EQ(LastDelimiter("\\", "C:\\\x83\x5C\\\x95\x5C\x8E\x86", style), 5u);
        EXPECT_EQ(LastDelimiter("\\", "\x95\x5C", style), std::string_view::npos);
        EXPECT_EQ(LastDelimiter(".\\", "report.\x83\x5C", style), 6u);
        EXPECT_EQ(DropLastChar("web\\\x95\x5C", style), "web\\");
        EXPECT_EQ(DropLastChar("\x95\x5C\x8E\x86", style), "\x95\x5C");
        EXPECT_EQ(DropLastChar("web\\", style), "web");
        // A lead byte at the very end has no second byte: it is a character of its own.
        EXPECT_EQ(DropLastChar("web\x95", style), "web");
        EXPECT_EQ(DropLastChar("", style), "");
    }
}

TEST(NarrowText, OnLinuxEveryByteIsACharacterOfItsOwn) {
    EXPECT_EQ(LastDelimiter("\\", "C:\\web\\\x95\x5C", TPathStyle::Posix), 8u);
    EXPECT_EQ(DropLastChar("\x95\x5C", TPathStyle::Posix), "\x95");
}

// The settings readers decide on these whether a file is UTF-8, and what a UTF-16 file says.
TEST(NarrowText, UnicodeIsReadByTheStandardsRules) {
    using namespace std::string_view_literals;
    EXPECT_TRUE(IsValidUtf8("plain \xE6\x97\xA5\xEF\xBE\x8C \xF0\xA0\x80\x8B \xF4\x8F\xBF\xBF"));
    for (std::string_view wrong : {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                   "\xF0\x80\x80\xAF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                                   "\xE6\x97", "\xE6\x97x", "\xFF", "\x93\xFA\x8B\x4C"}) {
        EXPECT_FALSE(IsValidUtf8(wrong)) << testing::PrintToString(wrong);
    }
    EXPECT_EQ(MarkedTextAsUtf8("\xEF\xBB\xBF"
                               "a\x80"),
              "a\x80");
    // 日 and 𠀋 (a surrogate pair) in little-endian order, and an odd last byte.
    EXPECT_EQ(MarkedTextAsUtf8("\xFF\xFE"
                               "a\0\xE5\x65\x40\xD8\x0B\xDC\xFF"sv),
              "a\xE6\x97\xA5\xF0\xA0\x80\x8B");
    // Surrogates without their partners, in big-endian order.
    EXPECT_EQ(MarkedTextAsUtf8("\xFE\xFF\xD8\x40\0a\xDC\x0B"sv), "\xEF\xBF\xBD"
                                                                 "a\xEF\xBF\xBD");
    EXPECT_EQ(MarkedTextAsUtf8("[a]"), std::nullopt);
}

} // namespace
