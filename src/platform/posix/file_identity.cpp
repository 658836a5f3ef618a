#include "platform/file_identity.h"

#include "platform/file_names.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The folder as a full path with its links followed, ending in the separator.
std::string RealFolder(const std::string& folder) {
    std::error_code error;
    fs::path absolute = fs::absolute(folder.empty() ? fs::path(".") : fs::path(folder), error);
    fs::path real = fs::weakly_canonical(absolute, error);
    std::string text = (error ? absolute.lexically_normal() : real).string();
    if (text.empty() || text.back() != PathDelim) {
        text += PathDelim;
    }
    return text;
}

} // namespace

TFileType FileTypeOf(const std::string& path) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return TFileType::Missing;
    }
    return fs::is_regular_file(status) ? TFileType::Regular : TFileType::Other;
}

bool IsWithinFolder(const std::string& folder, const std::string& outer) {
    return RealFolder(folder).starts_with(RealFolder(outer));
}

// Here the identity is one look at the file already.
bool GetFileId(const std::string& path, TFileId& id) {
    struct stat info;
    if (::stat(path.empty() ? "." : path.c_str(), &info) != 0) {
        return false;
    }
    id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return true;
}

TFileIdentity::TFileIdentity(const std::string& path) {
    IsKnown = GetFileId(path, Id);
}

bool TFileIdentity::SameFile(const std::string& other) const {
    TFileId otherId;
    return IsKnown && GetFileId(other, otherId) && otherId == Id;
}
