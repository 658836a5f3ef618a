#include "platform/find_file.h"

#include <algorithm>

namespace {

unsigned char Fold(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

} // namespace

bool AttrRequested(int attr, int request) {
    // The bits that a request must hold for an entry carrying them to be returned.
    constexpr int special = faHidden | faSysFile | faVolumeID | faDirectory;
    return (attr & special & ~request) == 0;
}

bool MatchesMask(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") {
        return true;
    }
    // Greedy matching that backtracks to the last "*" only: linear for the usual patterns.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool NameBefore(std::string_view a, std::string_view b) {
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char x = Fold(a[i]);
        unsigned char y = Fold(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}
