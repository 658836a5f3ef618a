#include "platform/system.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

std::string SystemErrorText(int errorCode) {
    char* text = nullptr;
    DWORD size = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(errorCode), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message =
        size == 0 ? "Error " + std::to_string(errorCode) : std::string(text, size);
    LocalFree(text);
    // The system's texts end with a line break, which a message line does not want.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

std::string SystemExeName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD size = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0) {
            return {};
        }
        if (size < path.size()) {
            path.resize(size);
            return path;
        }
        path.resize(path.size() * 2); // cut short: try again with more room
    }
}

std::string SystemExeNameUtf8() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0) {
            return {};
        }
        if (size < path.size()) {
            path.resize(size);
            return Narrow(CP_UTF8, path);
        }
        path.resize(path.size() * 2);
    }
}
