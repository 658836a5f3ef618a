#include "platform/narrow_text.h"

#include "platform/win32/wide_text.h"

namespace {

// UTF-16 in the byte order of its mark; a last odd byte is no character and is dropped.
std::wstring Utf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

} // namespace

std::string NarrowText(std::string_view utf8) {
    return Narrow(CP_ACP, Widen(CP_UTF8, utf8));
}

// Paths are bytes in the ANSI code page, the one the "A" functions use.
bool IsSystemLeadByte(char c) {
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) != 0;
}

std::optional<std::string> MarkedTextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return std::string(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return Narrow(CP_UTF8, Utf16(bytes.substr(2), bytes[0] == '\xFE'));
    }
    return std::nullopt;
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
