#pragma once

#include <unistd.h>

// Closes a descriptor when it goes.
struct TFd {
    int Fd = -1;
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
};
