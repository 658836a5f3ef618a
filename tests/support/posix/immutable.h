#pragma once

#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    bool Ok = false;

private:
    int Descriptor;
    int Original = 0;
};
