#include "platform/file_identity.h"

#include "platform/file_names.h"
#include "platform/find_file.h"
#include "platform/narrow_text.h"
#include "platform/same_file_rule.h"
#include "platform/win32/final_path.h"
#include "platform/win32/windows_api.h"

namespace {

std::string WithDelim(std::string path) {
    if (LastDelimiter(DirDelims, path) + 1 != path.size()) {
        path += PathDelim;
    }
    return path;
}

// The folder as a full path with its links followed, ending in the separator. The part that
// does not exist yet is kept as written.
std::string RealFolder(const std::string& folder) {
    std::string full(MAX_PATH, '\0');
    DWORD size = GetFullPathNameA(folder.empty() ? "." : folder.c_str(),
                                  static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (size >= full.size()) {
        full.resize(size);
        size = GetFullPathNameA(folder.empty() ? "." : folder.c_str(),
                                static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(size < full.size() ? size : 0);
    full = WithDelim(full);
    // The longest leading part that exists decides where the rest lies.
    for (std::string_view head = full; !head.empty();) {
        std::string_view parent = DropLastChar(head);
        std::string real = FinalPath(std::string(head));
        if (!real.empty()) {
            return WithDelim(real) + full.substr(head.size());
        }
        std::size_t delim = LastDelimiter(DirDelims, parent);
        head = delim == std::string_view::npos ? std::string_view() : head.substr(0, delim + 1);
    }
    return full;
}

} // namespace

TFileType FileTypeOf(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) {
        return TFileType::Missing;
    }
    if (attr & FILE_ATTRIBUTE_DIRECTORY) {
        return TFileType::Other;
    }
    // A device ("NUL", "COM1") answers with attributes too: only a file on a disk is regular.
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

bool SameFile(const std::string& a, const std::string& b) {
    TFileId idA;
    TFileId idB;
    return GetFileId(a, idA) && GetFileId(b, idB) && idA == idB;
}

bool IsWithinFolder(const std::string& folder, const std::string& outer) {
    const std::string inner = RealFolder(folder);
    const std::string real = RealFolder(outer);
    return inner.size() >= real.size() &&
           TSameFileRule::Equal(std::string_view(inner).substr(0, real.size()), real);
}
