#include "platform/system.h"

#include <cstring>
#include <filesystem>
#include <system_error>

std::string SystemErrorText(int errorCode) {
    return std::strerror(errorCode);
}

std::string SystemExeName() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string SystemExeNameUtf8() {
    return SystemExeName();
}
