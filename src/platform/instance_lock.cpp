#include "platform/instance_lock.h"

#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/system.h"

#include <cstdio>

namespace {

// FNV-1a: the same on every build, so that copies of the program of other versions meet too.
std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

} // namespace

std::string OutputFileKey(const std::string& path) {
    const std::string file = FullPath(LinkTarget(path));
    TFileId folder;
    if (!GetFileId(ExtractFilePath(file), folder)) {
        return {};
    }
    return Hex(folder.Device) + "-" + Hex(folder.Inode) + "-" + Hex(Fnv1a(FileNameKey(file)));
}
