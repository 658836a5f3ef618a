#include "platform/find_file.h"

#include "platform/narrow_text.h"

#include <algorithm>

namespace {

unsigned char Fold(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

// The length of the character that starts at i: two bytes for a double-byte character of the
// encoding, unless text ends after its first. No ASCII byte starts one, in any encoding here.
std::size_t CharSize(std::string_view text, std::size_t i, TPathStyle style) {
    const bool ascii = static_cast<unsigned char>(text[i]) < 0x80;
    return (!ascii && IsLeadByte(text[i], style) && i + 1 < text.size()) ? 2 : 1;
}

// Whether two characters are the same, ASCII letters in either case.
bool SameChar(std::string_view a, std::string_view b) {
    return a.size() == 1 && b.size() == 1 ? Fold(a[0]) == Fold(b[0]) : a == b;
}

} // namespace

bool AttrRequested(int attr, int request) {
    // The bits that a request must hold for an entry carrying them to be returned.
    constexpr int special = faHidden | faSysFile | faVolumeID | faDirectory;
    return (attr & special & ~request) == 0;
}

bool MatchesMask(std::string_view name, std::string_view pattern, TPathStyle style) {
    if (pattern == "*.*") {
        return true;
    }
    // Whole characters are compared: where the encoding has double-byte characters, a second
    // byte that looks like a letter ("\x83\x61") is no letter, and "?" takes the whole character.
    // Greedy matching that backtracks to the last "*" only: linear for the usual patterns.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        const std::size_t nameChar = CharSize(name, n, style);
        const std::size_t patternChar = p < pattern.size() ? CharSize(pattern, p, style) : 0;
        if (patternChar != 0 && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (patternChar != 0 &&
                   (pattern[p] == '?' ||
                    SameChar(name.substr(n, nameChar), pattern.substr(p, patternChar)))) {
            p += patternChar;
            n += nameChar;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += CharSize(name, starN, style);
            n = starN;
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
