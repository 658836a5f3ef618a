#include "platform/narrow_text.h"

#include "platform/win32/windows_api.h"

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

} // namespace

std::string ReportText(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    int size = static_cast<int>(utf8.size());
    int wideSize = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideSize);
    int narrowSize =
        WideCharToMultiByte(ReportCodePage, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(narrowSize), '\0');
    WideCharToMultiByte(ReportCodePage, 0, wide.data(), wideSize, narrow.data(), narrowSize,
                        nullptr, nullptr);
    return narrow;
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
