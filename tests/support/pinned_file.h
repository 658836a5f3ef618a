#pragma once

// Files that nobody may change while a test holds them, root included.

#include <string>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#ifndef _WIN32
// An immutable file or folder refuses even root what would change it, while it lives: a folder
// takes no new name (its files stay writable), a file keeps its name.
class Immutable {
public:
    explicit Immutable(const std::string& path) : Descriptor(::open(path.c_str(), O_RDONLY)) {
        Ok = Descriptor >= 0 && ::ioctl(Descriptor, FS_IOC_GETFLAGS, &Original) == 0;
        int locked = Original | FS_IMMUTABLE_FL;
        Ok = Ok && ::ioctl(Descriptor, FS_IOC_SETFLAGS, &locked) == 0;
    }
    ~Immutable() {
        if (Ok) {
            ::ioctl(Descriptor, FS_IOC_SETFLAGS, &Original);
        }
        if (Descriptor >= 0) {
            ::close(Descriptor);
        }
    }
    bool Ok = false;

private:
    int Descriptor;
    int Original = 0;
};
#endif

// A file that nobody may rename or replace while this lives, root included: on Windows another
// program holds it open without sharing, on Linux it is immutable.
class TPinnedFile {
public:
#ifdef _WIN32
    explicit TPinnedFile(const std::string& path)
        : Held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)),
          Ok(Held != INVALID_HANDLE_VALUE) {}
    ~TPinnedFile() {
        if (Ok) {
            CloseHandle(Held);
        }
    }

private:
    HANDLE Held;

public:
#else
    explicit TPinnedFile(const std::string& path) : Locked(path), Ok(Locked.Ok) {}

private:
    Immutable Locked;

public:
#endif
    TPinnedFile(const TPinnedFile&) = delete;
    TPinnedFile& operator=(const TPinnedFile&) = delete;
    const bool Ok;
};
