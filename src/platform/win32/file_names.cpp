#include "platform/file_names.h"

#include "platform/exceptions.h"
#include "platform/win32/final_path.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

// As many reparse points as the system follows in one path before it gives up.
constexpr int MaxLinks = 63;

// Where the symbolic link or junction at path points, as a full path: what it names, taken from
// the link's own folder when it is relative. Empty when path is no link or names what no path
// of ours spells (an object of the system's own namespace).
std::wstring ReadLink(const std::wstring& path) {
    HANDLE handle = CreateFileW(
        SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::vector<unsigned char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD size = 0;
    const bool read = DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                                      static_cast<DWORD>(data.size()), &size, nullptr);
    CloseHandle(handle);
    auto field = [&]<typename T>(std::size_t at, T value) {
        std::memcpy(&value, data.data() + at, sizeof value);
        return value;
    };
    // The layout of the system's REPARSE_DATA_BUFFER: the tag, then the offset and length in
    // bytes of the name that the system substitutes, counted from where the names begin.
    if (!read || size < 20) {
        return {};
    }
    const DWORD tag = field(0, DWORD());
    bool relative = false;
    std::size_t names = 0;
    if (tag == IO_REPARSE_TAG_SYMLINK) {
        names = 20;
        relative = (field(16, DWORD()) & SYMLINK_FLAG_RELATIVE) != 0;
    } else if (tag == IO_REPARSE_TAG_MOUNT_POINT) {
        names = 16;
    } else {
        return {};
    }
    const std::size_t offset = names + field(8, WORD()), length = field(10, WORD());
    if (offset + length > size) {
        return {};
    }
    std::wstring target(length / sizeof(wchar_t), L'\0');
    std::memcpy(target.data(), data.data() + offset, target.size() * sizeof(wchar_t));
    if (relative) {
        return FullPath(path.substr(0, path.find_last_of(L"\\/") + 1) + target);
    }
    if (target.starts_with(L"\\??\\UNC\\")) {
        return L"\\\\" + target.substr(8);
    }
    if (target.starts_with(L"\\??\\")) {
        return target.substr(4);
    }
    return {};
}

} // namespace

std::string FullPath(const std::string& path) {
    std::string full(MAX_PATH, '\0');
    DWORD size =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (size >= full.size()) {
        full.resize(size);
        size =
            GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (size == 0 || size >= full.size()) {
        return path;
    }
    full.resize(size);
    return full;
}

std::string LinkTarget(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    std::string target = FinalPath(path);
    if (!target.empty()) {
        return target;
    }
    // A link that leads nowhere is read, link by link, since it still names the file that an
    // open for writing would make.
    std::wstring at = FullPath(Widen(CP_ACP, path));
    for (int links = 0; links < MaxLinks; ++links) {
        at = ReadLink(at);
        if (at.empty()) {
            break;
        }
        attr = GetFileAttributesW(SystemPath(at).c_str());
        if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            bool exact = true;
            std::string named = Ansi(at, exact);
            return exact ? named : path;
        }
    }
    return path;
}

bool FileExists(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DeleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

void ReplaceFile(const std::string& oldPath, const std::string& newPath) {
    if (!MoveFileExA(oldPath.c_str(), newPath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw EInOutError::FromCode(static_cast<int>(GetLastError()), TFileAction::RenameTo,
                                    newPath);
    }
}
