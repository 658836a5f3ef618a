#include "platform/instance_lock.h"

#include "platform/file_names.h"
#include "platform/system.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder that only the user may write: another user can neither hold the lock first nor put
// a link in its place. The session's runtime folder, or one of the user's own in /tmp for a
// program started outside a desktop session; empty when neither can be trusted.
std::string LockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        return IncludeTrailingPathDelimiter(runtime);
    }
    const std::string folder = "/tmp/allcheck-" + std::to_string(::getuid()) + "/";
    ::mkdir(folder.c_str(), 0700);
    struct stat made;
    if (::lstat(folder.c_str(), &made) != 0 || !S_ISDIR(made.st_mode) ||
        made.st_uid != ::getuid() || (made.st_mode & 077) != 0) {
        return {};
    }
    return folder;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string FileNameKey(const std::string& file) {
    return ExtractFileName(file);
}

TOutputFileLock::TOutputFileLock(const std::string& path) {
    const std::string key = OutputFileKey(path);
    const std::string folder = LockFolder();
    if (key.empty() || folder.empty()) {
        return;
    }
    const std::string lockPath = folder + "allcheck-" + key + ".lock";
    // The holder removes the file when it ends: a file that was removed between its open here
    // and the lock is no longer the lock, and is opened again.
    for (int tries = 0; tries < 3; ++tries) {
        // Read only: the holder takes a write to the file for a request to show its window
        // (TFrontOnRequest), and a file that another user made can be locked all the same.
        int fd = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            return;
        }
        struct stat opened, named;
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            Elsewhere = errno == EWOULDBLOCK;
            LockKey = Elsewhere ? lockPath : std::string();
            ::close(fd);
            return;
        }
        if (::stat(lockPath.c_str(), &named) == 0 && SameFile(opened, named)) {
            Handle = fd;
            LockKey = lockPath;
            return;
        }
        ::close(fd);
    }
}

TOutputFileLock::~TOutputFileLock() {
    if (Handle != -1) {
        // Removed while still locked, so that no later start locks a file on its way out.
        ::unlink(LockKey.c_str());
        ::close(static_cast<int>(Handle));
    }
}
