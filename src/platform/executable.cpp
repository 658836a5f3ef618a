#include "platform/executable.h"

#include <filesystem>
#include <system_error>

namespace {
std::string& Override() {
    static std::string path;
    return path;
}
} // namespace

std::string ExeName() {
    if (!Override().empty()) {
        return Override();
    }
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

void OverrideExeName(std::string path) {
    Override() = std::move(path);
}
