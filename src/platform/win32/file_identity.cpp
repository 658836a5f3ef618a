#include "platform/file_identity.h"

#include "platform/file_names.h"
#include "platform/find_file.h"
#include "platform/narrow_text.h"
#include "platform/same_file_rule.h"
#include "platform/win32/device_name.h"
#include "platform/win32/final_path.h"
#include "platform/win32/handle_id.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace {

std::string WithDelim(std::string path) {
    if (LastDelimiter(DirDelims(), path) + 1 != path.size()) {
        path += PathDelim;
    }
    return path;
}

// Whether the system takes a full path for a device rather than a file: a device's name as its
// last part, or a path in the device namespace ("\\.\NUL", "\\.\PhysicalDrive0") that is no
// drive's ("\\?\C:\...") or share's ("\\?\UNC\...").
bool IsDevicePath(std::string_view full) {
    if (full.starts_with("\\\\.\\") || full.starts_with("\\\\?\\")) {
        std::string_view rest = full.substr(4);
        if (!(rest.size() >= 2 && rest[1] == ':') && !MatchesMask(rest.substr(0, 4), "UNC\\")) {
            return true;
        }
    }
    return IsDeviceName(ExtractFileName(full));
}

// The size and last write time of the file at path, from its attributes, without opening it;
// nothing when it cannot be looked at or is a link, whose attributes are its own: compared with
// them, a symbolic link to a settings file would not be that file, and would be written through.
// No test can run this under Wine, which makes no reparse points: CreateSymbolicLinkW reports
// success and makes nothing, and FSCTL_SET_REPARSE_POINT fails with ERROR_NOT_SUPPORTED (seen
// with Wine 8.0). The rule is tested on Linux (posix/output_guard_test.cpp, a link to the
// executable); this half was checked against GetFileAttributesEx's documentation, which gives a
// symbolic link's own attributes, not its target's.
std::optional<std::pair<std::uint64_t, std::uint64_t>> LookAt(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return std::nullopt;
    }
    auto join = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    return std::pair{join(data.nFileSizeHigh, data.nFileSizeLow),
                     join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

// The folder as a full path with its links followed, ending in the separator. The part that
// does not exist yet is kept as written.
std::string RealFolder(const std::string& folder) {
    std::string full = WithDelim(FullPath(folder.empty() ? "." : folder));
    // The longest leading part that exists decides where the rest lies.
    for (std::string_view head = full; !head.empty();) {
        std::string_view parent = DropLastChar(head);
        std::string real = FinalPath(std::string(head));
        if (!real.empty()) {
            return WithDelim(real) + full.substr(head.size());
        }
        std::size_t delim = LastDelimiter(DirDelims(), parent);
        head = delim == std::string_view::npos ? std::string_view() : head.substr(0, delim + 1);
    }
    return full;
}

} // namespace

TFileType FileTypeOf(const std::string& path) {
    // A device is not opened, not even to be looked at: "CONIN$" would be the console's input.
    if (IsDevicePath(FullPath(path))) {
        return TFileType::Other;
    }
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) {
        return TFileType::Missing;
    }
    if (attr & FILE_ATTRIBUTE_DIRECTORY) {
        return TFileType::Other;
    }
    // Other devices answer with attributes too: only a file on a disk is regular.
    HANDLE handle =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return TFileType::Regular;
    }
    DWORD type = GetFileType(handle);
    CloseHandle(handle);
    return type == FILE_TYPE_DISK ? TFileType::Regular : TFileType::Other;
}

bool IsWithinFolder(const std::string& folder, const std::string& outer) {
    const std::string inner = RealFolder(folder);
    const std::string real = RealFolder(outer);
    return inner.size() >= real.size() &&
           TSameFileRule::Equal(std::string_view(inner).substr(0, real.size()), real);
}

// Opens what path leads to (links followed) just to learn its identity.
bool GetFileId(const std::string& path, TFileId& id) {
    HANDLE handle = CreateFileW(SystemPath(Widen(CP_ACP, path.empty() ? "." : path)).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool known = GetHandleId(handle, id);
    CloseHandle(handle);
    return known;
}

TFileIdentity::TFileIdentity(const std::string& path) : Look(LookAt(path)) {
    IsKnown = GetFileId(path, Id);
}

bool TFileIdentity::SameFile(const std::string& other) const {
    if (!IsKnown) {
        return false;
    }
    if (Look) {
        auto otherLook = LookAt(other);
        if (otherLook && *otherLook != *Look) {
            return false;
        }
    }
    TFileId otherId;
    return GetFileId(other, otherId) && otherId == Id;
}
