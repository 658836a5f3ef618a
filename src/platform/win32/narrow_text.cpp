#include "platform/narrow_text.h"

#include "platform/win32/windows_api.h"

namespace {

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

// Paths are bytes in the ANSI code page, the one the "A" functions use.
bool IsSystemLeadByte(char c) {
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) != 0;
}
