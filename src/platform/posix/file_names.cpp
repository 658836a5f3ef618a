#include "platform/file_names.h"

#include "platform/exceptions.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// As many links as the system follows in one path before it gives up (ELOOP).
constexpr int MaxLinks = 40;

bool IsLink(const fs::path& path) {
    std::error_code ignored; // a path that leads nowhere is no link
    return fs::is_symlink(fs::symlink_status(path, ignored));
}

} // namespace

std::string FullPath(const std::string& path) {
    return path;
}

std::string LinkTarget(const std::string& path) {
    if (!IsLink(path)) {
        return path;
    }
    // Every link that leads somewhere is followed; one that leads nowhere is read, since it
    // still names the file that an open for writing would make.
    std::error_code error;
    fs::path at = fs::absolute(path, error);
    for (int links = 0; !error && links <= MaxLinks; ++links) {
        at = fs::weakly_canonical(at, error);
        if (error) {
            break;
        }
        if (!IsLink(at)) {
            return at.string();
        }
        at = at.parent_path() / fs::read_symlink(at, error);
    }
    return path;
}

bool FileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

void ReplaceFile(const std::string& oldPath, const std::string& newPath) {
    if (::rename(oldPath.c_str(), newPath.c_str()) != 0) {
        throw EInOutError::FromCode(errno, TFileAction::RenameTo, newPath);
    }
}
