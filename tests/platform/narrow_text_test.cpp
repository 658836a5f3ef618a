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

} // namespace
