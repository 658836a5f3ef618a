#include "platform/same_file_rule.h"

#include "platform/file_names.h"
#include "platform/win32/windows_api.h"

#include <functional>
#include <string>

namespace {

// The path in upper case under the system's rule for its code page, every separator written
// "\": as UTF-16, so that full-width letters fold and a double-byte character's second byte is
// never taken for a letter or a separator. Bytes that are no text in the code page stay as they
// are, byte for byte.
std::wstring Folded(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    int size = static_cast<int>(path.size());
    int wideSize = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    std::wstring wide;
    if (wideSize <= 0) {
        wide.assign(path.begin(), path.end());
        for (wchar_t& c : wide) {
            c = static_cast<wchar_t>(0xF700 + (c & 0xFF)); // private use: never a real name's
        }
        return wide;
    }
    wide.resize(static_cast<std::size_t>(wideSize));
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), wideSize);
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    for (wchar_t& c : wide) {
        if (c < 0x80 && IsPathDelim(static_cast<char>(c))) {
            c = PathDelim;
        }
    }
    return wide;
}

} // namespace

bool TSameFileRule::Equal(std::string_view a, std::string_view b) {
    return a == b || Folded(a) == Folded(b);
}

std::size_t TSameFileRule::Hash(std::string_view path) {
    return std::hash<std::wstring>{}(Folded(path));
}
