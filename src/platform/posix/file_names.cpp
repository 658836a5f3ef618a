#include "platform/file_names.h"

#include "platform/exceptions.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

std::string LinkTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
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
