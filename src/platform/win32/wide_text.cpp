#include "platform/win32/wide_text.h"

std::wstring Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    std::wstring text(
        static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(),
                        static_cast<int>(text.size()));
    return text;
}

std::string Narrow(UINT codePage, std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::string bytes(static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, text.data(), size,
                                                                   nullptr, 0, nullptr, nullptr)),
                      '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

std::string Ansi(std::wstring_view text, bool& exact) {
    exact = true;
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    std::string bytes(
        static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                                     size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, &usedDefault);
    // The way back must give the same text: that also catches what the flag lets through.
    exact = !usedDefault && Widen(CP_ACP, bytes) == text;
    return bytes;
}
