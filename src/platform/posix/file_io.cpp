#include "platform/file_io.h"

#include "platform/exceptions.h"
#include "platform/file_names.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

[[noreturn]] void Fail(TFileAction action, const std::string& path, int code = errno) {
    throw EInOutError::FromCode(code, action, path);
}

// The descriptor, or -1 with errno set.
int OpenRetrying(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int OpenOrFail(const std::string& path, int flags, TFileAction action) {
    int fd = OpenRetrying(path, flags);
    if (fd < 0) {
        Fail(action, path);
    }
    return fd;
}

mode_t CurrentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Empties a file opened for writing (never with O_TRUNC: what was opened is looked at before
// anything of it is lost), unless it has other names too.
void EmptyInPlace(int fd, const std::string& path) {
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        Fail(TFileAction::Create, path);
    }
    if (info.st_nlink > 1) {
        Fail(TFileAction::WriteInPlace, path, EMLINK);
    }
    if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        Fail(TFileAction::Create, path);
    }
}

} // namespace

TFile TFile::OpenRead(const std::string& path) {
    return TFile(OpenOrFail(path, O_RDONLY, TFileAction::Open), path);
}

std::optional<TFile> TFile::OpenRegular(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    // The name may lead elsewhere by the time it is opened: the open does not wait, and what
    // was opened is looked at again.
    TFile file(OpenOrFail(path, O_RDONLY | O_NONBLOCK | O_NOCTTY, TFileAction::Open), path);
    if (::fstat(static_cast<int>(file.Descriptor), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return file;
}

TFile TFile::Create(const std::string& path) {
    TFile file(OpenOrFail(path, O_WRONLY | O_CREAT, TFileAction::Create), path);
    EmptyInPlace(static_cast<int>(file.Descriptor), path);
    return file;
}

std::optional<TFile> TFile::Rewrite(const std::string& path, const TFileId& id) {
    // No O_CREAT, so that a name that leads nowhere makes nothing; O_NONBLOCK, so that a FIFO
    // put in the file's place is not waited on.
    int fd = OpenRetrying(path, O_WRONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        if (FileIdAt(path) != id) {
            return std::nullopt;
        }
        Fail(TFileAction::Open, path, code);
    }
    TFile file(fd, path);
    if (file.Id() != id) {
        return std::nullopt;
    }
    EmptyInPlace(fd, path);
    return file;
}

std::optional<TFile> TFile::CreateTempBeside(const std::string& path) {
    // A short fixed name, so that a target whose own name is near the length limit still works.
    std::string name = ExtractFilePath(path) + ".allcheck-XXXXXX";
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat existing;
    mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777)
                                                       : (0666 & ~CurrentUmask());
    ::fchmod(fd, mode);
    return TFile(fd, name);
}

std::optional<TFile> TFile::CreateNew(const std::string& path) {
    // O_NOFOLLOW with O_EXCL: a link planted at the name is not followed but counts as a file.
    int fd = OpenRetrying(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0 && errno == EEXIST) {
        return std::nullopt;
    }
    if (fd < 0) {
        Fail(TFileAction::Create, path);
    }
    return TFile(fd, path);
}

std::optional<TFile> TFile::OpenUpdate(const std::string& path, const TFileId& id) {
    int fd = OpenRetrying(path, O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    TFile file(fd, path);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
        file.Id() != id) {
        return std::nullopt;
    }
    return file;
}

TFileId TFile::Id() const {
    struct stat info;
    if (::fstat(static_cast<int>(Descriptor), &info) != 0) {
        Fail(TFileAction::Open, FilePath);
    }
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

void TFile::Release(std::intptr_t descriptor) noexcept {
    ::close(static_cast<int>(descriptor));
}

std::uint64_t TFile::Size() const {
    struct stat info;
    if (::fstat(Descriptor, &info) != 0) {
        Fail(TFileAction::GetSize, FilePath);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<TFileStamp> StampOf(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return TFileStamp{static_cast<std::uint64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                          info.st_mtim.tv_nsec};
}

std::int64_t TFile::ModifiedTime() const {
    struct stat info;
    if (::fstat(Descriptor, &info) != 0) {
        Fail(TFileAction::GetSize, FilePath);
    }
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

void TFile::Seek(std::uint64_t offset) {
    if (::lseek(Descriptor, static_cast<off_t>(offset), SEEK_SET) < 0) {
        Fail(TFileAction::Read, FilePath);
    }
}

void TFile::Truncate(std::uint64_t size) {
    if (::ftruncate(Descriptor, static_cast<off_t>(size)) != 0) {
        Fail(TFileAction::Write, FilePath);
    }
}

std::string TFile::ReadExactly(std::uint64_t count) {
    std::string bytes(count, '\0');
    std::uint64_t done = 0;
    while (done < count) {
        ssize_t n = ::read(Descriptor, bytes.data() + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail(TFileAction::Read, FilePath);
        }
        if (n == 0) {
            Fail(TFileAction::Read, FilePath, EIO); // the file became shorter while it was read
        }
        done += static_cast<std::uint64_t>(n);
    }
    return bytes;
}

void TFile::WriteAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(Descriptor, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail(TFileAction::Write, FilePath, n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
}

void TFile::Sync() {
    if (::fsync(Descriptor) != 0) {
        Fail(TFileAction::Write, FilePath);
    }
}

void TFile::Close() {
    int fd = std::exchange(Descriptor, -1);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
        Fail(TFileAction::Close, FilePath);
    }
}
