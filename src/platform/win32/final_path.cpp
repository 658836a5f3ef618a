#include "platform/win32/final_path.h"

#include "platform/win32/windows_api.h"

#include <string_view>

std::string FinalPath(const std::string& path) {
    HANDLE handle = CreateFileA(path.empty() ? "." : path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string final(MAX_PATH, '\0');
    DWORD size = GetFinalPathNameByHandleA(handle, final.data(), static_cast<DWORD>(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (size >= final.size()) {
        final.resize(size + 1);
        size = GetFinalPathNameByHandleA(handle, final.data(), static_cast<DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    CloseHandle(handle);
    if (size == 0 || size >= final.size()) {
        return {};
    }
    final.resize(size);
    std::string_view name = final;
    if (name.starts_with("\\\\?\\UNC\\")) {
        return "\\\\" + std::string(name.substr(8));
    }
    if (name.starts_with("\\\\?\\")) {
        return std::string(name.substr(4));
    }
    return final;
}
