#pragma once

// What the text file tests of both systems share.

#include "files/text_file.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;

inline const std::string Awkward = "line\r\nlone\nnul\0end\x80\xFF\x81\x79"s;

// What the file at path is now, for a save that replaces it; nothing where none is.
inline std::optional<TFileId> IdOf(const std::string& path) {
    TFileId id;
    return GetFileId(path, id) ? std::optional(id) : std::nullopt;
}

inline std::vector<std::string> Names(const TTempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
