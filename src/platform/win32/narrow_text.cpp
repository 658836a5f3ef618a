#include "platform/narrow_text.h"

#include "platform/win32/wide_text.h"

namespace {

// Paths are bytes in the ANSI code page, the one the "A" functions use.
bool IsLeadByte(char c) {
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) != 0;
}

// The position after the character that starts at i. A lead byte at the very end stands alone.
std::size_t NextChar(std::string_view text, std::size_t i) {
    return (IsLeadByte(text[i]) && i + 1 < text.size()) ? i + 2 : i + 1;
}

// The report is Shift-JIS, the code page the program's texts were written in.
constexpr UINT ReportCodePage = 932;

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

std::string ReportText(std::string_view utf8) {
    return Narrow(ReportCodePage, Widen(CP_UTF8, utf8));
}

// Both walk forward from the start: only there is it certain where a character begins, since a
// second byte can look like a lead byte or like "\".
std::size_t LastDelimiter(std::string_view chars, std::string_view text) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i = NextChar(text, i)) {
        if (chars.find(text[i]) != std::string_view::npos) {
            last = i;
        }
    }
    return last;
}

std::string_view DropLastChar(std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); i = NextChar(text, i)) {
        start = i;
    }
    return text.substr(0, start);
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
