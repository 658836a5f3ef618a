#include "platform/executable.h"

#include "platform/system.h"

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
    return SystemExeName();
}

void OverrideExeName(std::string path) {
    Override() = std::move(path);
}
