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

namespace {

// The running executable's full path from GetModuleFileNameA or GetModuleFileNameW; empty when
// the system cannot tell it.
template <typename TChar>
std::basic_string<TChar> ModuleFileName(DWORD (*get)(HMODULE, TChar*, DWORD)) {
    std::basic_string<TChar> path(MAX_PATH, TChar());
    for (;;) {
        DWORD size = get(nullptr, path.data(), static_cast<DWORD>(path.size()));
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

} // namespace

std::string SystemExeName() {
    return ModuleFileName<char>(&GetModuleFileNameA);
}

std::string SystemExeNameUtf8() {
    return Narrow(CP_UTF8, ModuleFileName<wchar_t>(&GetModuleFileNameW));
}
