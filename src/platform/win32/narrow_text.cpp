#include "platform/narrow_text.h"

#include "platform/win32/wide_text.h"

std::string NarrowText(std::string_view utf8) {
    return Narrow(CP_ACP, Widen(CP_UTF8, utf8));
}

// Paths are bytes in the ANSI code page, the one the "A" functions use.
bool IsSystemLeadByte(char c) {
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) != 0;
}

std::optional<std::string> NarrowFromUtf8(std::string_view utf8) {
    // U+FFFD, which stands for bytes that are no UTF-8, has no counterpart in a code page.
    bool exact = false;
    std::string narrow = Ansi(Widen(CP_UTF8, utf8), exact);
    if (!exact) {
        return std::nullopt;
    }
    return narrow;
}
