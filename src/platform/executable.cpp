#include "platform/executable.h"

#include "platform/narrow_text.h"
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

std::optional<std::string> ExeNameOutsideCodePage() {
    if (!Override().empty()) {
        return std::nullopt;
    }
    std::string utf8 = SystemExeNameUtf8();
    if (utf8.empty() || NarrowFromUtf8(utf8)) {
        return std::nullopt;
    }
    return utf8;
}

void OverrideExeName(std::string path) {
    Override() = std::move(path);
}
