#pragma once

// What the search tests of both systems share: the scan's kinds and masks, and readable lists.

#include "files/file_list.h"
#include "files/file_search.h"
#include "platform/file_names.h"

#include <array>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

inline constexpr FileKinds Scan = 25; // what the scan passes
inline constexpr std::array<std::string_view, 2> ScanMasks{"*.html", "*.htm"};

inline Strings Items(const TFileList& list) {
    return Strings(list.begin(), list.end());
}

// The search of one site exactly as the scan runs it: one walk for "*.html" and "*.htm".
inline Strings ScanSite(const std::string& site) {
    TFileList list;
    SearchFiles(site, ScanMasks, Scan, list);
    return Items(list);
}

inline Strings Search(const std::string& mask, FileKinds kinds = Scan) {
    TFileList list;
    SearchFiles(mask, kinds, list);
    return Items(list);
}

// An ASCII path with the platform's separator written as "/", for expectations that read alike.
inline std::string Slashed(std::string path) {
    for (char& c : path) {
        c = c == PathDelim ? '/' : c;
    }
    return path;
}

// Paths relative to root, for readable expectations.
inline Strings Relative(const Strings& paths, const std::string& root) {
    Strings relative;
    for (const std::string& path : paths) {
        relative.push_back(path.compare(0, root.size(), root) == 0
                               ? Slashed(path.substr(root.size()))
                               : "!" + path);
    }
    return relative;
}
