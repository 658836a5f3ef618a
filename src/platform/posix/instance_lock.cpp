#include "platform/instance_lock.h"

#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "platform/system.h"
#include "platform/posix/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The lock folder's name depends on nothing but the user: XDG_RUNTIME_DIR is missing or another
// from su, ssh or cron, and /run/user/UID comes and goes with the user's sessions, so that two
// starts would meet in two places. /tmp is every environment's; that someone else may take the
// name first is seen (the folder is then not the user's, or is open to others) and said.

namespace {

std::string& LockFolderBase() {
    static std::string base = "/tmp";
    return base;
}

std::string Refusal(const std::string& what, const std::string& why) {
    return NarrowText("出力ﾌｧｲﾙのﾛｯｸを取れないので終了します。") + what + " " + NarrowText(why);
}

std::string SystemRefusal(const std::string& what, int error) {
    return Refusal(what, "を使えません (") + SystemErrorText(error) + ")";
}

// Why a folder that the user's lock files are made in cannot be trusted: empty when it is a
// folder of the user's own that no one else may change. Someone who could replace or rename
// what is in it could make a second start find no lock.
std::string Untrusted(const struct stat& folder, const std::string& path) {
    if (!S_ISDIR(folder.st_mode)) {
        return Refusal(path, "はﾌｫﾙﾀﾞではありません (ﾘﾝｸかﾌｧｲﾙです)");
    }
    if (folder.st_uid != ::geteuid()) {
        return Refusal(path, "はほかのﾕｰｻﾞｰのﾌｫﾙﾀﾞです");
    }
    if ((folder.st_mode & 077) != 0) {
        return Refusal(path, "はほかのﾕｰｻﾞｰも変えられます (ﾓｰﾄﾞが 700 ではありません)");
    }
    return {};
}

// Opens the user's lock folder, made if it is missing; -1 with failure set when it cannot be
// trusted. A base that others may write in is trusted as /tmp is, by its sticky bit: nobody
// else may then rename or remove the user's folder.
int OpenLockFolder(std::string& folder, std::string& failure) {
    const std::string& base = LockFolderBase();
    struct stat info;
    if (::stat(base.c_str(), &info) != 0) {
        failure = SystemRefusal(base, errno);
        return -1;
    }
    if ((info.st_uid != 0 && info.st_uid != ::geteuid()) ||
        ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0)) {
        failure = Refusal(base, "ではほかのﾕｰｻﾞｰがﾛｯｸのﾌｫﾙﾀﾞを入れ替えられます");
        return -1;
    }
    folder = IncludeTrailingPathDelimiter(base) + "allcheck-" + std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        failure = SystemRefusal(folder, errno);
        return -1;
    }
    if (::lstat(folder.c_str(), &info) != 0) {
        failure = SystemRefusal(folder, errno);
        return -1;
    }
    if (failure = Untrusted(info, folder); !failure.empty()) {
        return -1;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        failure = SystemRefusal(folder, errno);
        return -1;
    }
    folder += "/";
    return fd;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string FileNameKey(const std::string& file) {
    return ExtractFileName(file);
}

void OverrideLockFolderBase(const std::string& base) {
    LockFolderBase() = base.empty() ? "/tmp" : base;
}

TOutputFileLock::TOutputFileLock(const std::string& path) {
    const std::string key = OutputFileKey(path);
    if (key.empty()) {
        return;
    }
    std::string folderPath;
    const TFd folder(OpenLockFolder(folderPath, Failure));
    if (folder.Fd < 0) {
        return;
    }
    const std::string name = "allcheck-" + key + ".lock";
    const std::string lockPath = folderPath + name;
    // The holder removes the file when it ends: a file that was removed between its open here
    // and the lock is no longer the lock, and is opened again.
    for (int tries = 0; tries < 3; ++tries) {
        // Read only: the holder takes a write to the file for a request to show its window
        // (TFrontOnRequest).
        const int fd = ::openat(folder.Fd, name.c_str(),
                                O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            Failure = SystemRefusal(lockPath, errno);
            return;
        }
        struct stat opened {
        }, named;
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            Failure = SystemRefusal(lockPath, S_ISREG(opened.st_mode) ? errno : EINVAL);
            ::close(fd);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error != EWOULDBLOCK) {
                Failure = SystemRefusal(lockPath, error);
                return;
            }
            Elsewhere = true;
            LockKey = lockPath;
            return;
        }
        if (::fstatat(folder.Fd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(opened, named)) {
            Handle = fd;
            LockKey = lockPath;
            return;
        }
        ::close(fd);
    }
    Failure = SystemRefusal(lockPath, EAGAIN);
}

TOutputFileLock::~TOutputFileLock() {
    if (Handle != -1) {
        // Removed while still locked, so that no later start locks a file on its way out.
        ::unlink(LockKey.c_str());
        ::close(static_cast<int>(Handle));
    }
}
