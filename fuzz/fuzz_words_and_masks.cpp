// Feeds arbitrary bytes to the splitting of the checker command into words and to the
// matching of names against wildcard patterns, and checks each against what it must agree with:
// split words, quoted again, split into the same words; a match agrees with a plain table match,
// with bytes as characters and with the double-byte characters of code page 932.
//
// The whole input is the command. For the match, its first byte gives the pattern's length, the
// pattern follows, and the rest is the name.
#include "platform/find_file.h"
#include "platform/command_words.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string QuotedForShell(const std::vector<std::string>& words) {
    std::string command;
    for (const std::string& word : words) {
        command += " '";
        for (char c : word) {
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        command += "'";
    }
    return command;
}

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// text cut into characters: single bytes, or on Windows pairs that begin with a lead byte of
// code page 932 (81-9F, E0-FC), a lead byte at the very end standing alone.
std::vector<std::string_view> Characters(std::string_view text, TPathStyle style) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool lead = style == TPathStyle::Windows &&
                          ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
        const std::size_t size = lead && i + 1 < text.size() ? 2 : 1;
        characters.push_back(text.substr(i, size));
        i += size;
    }
    return characters;
}

bool SameCharacter(std::string_view a, std::string_view b) {
    return a.size() == 1 && b.size() == 1 ? FoldAscii(a[0]) == FoldAscii(b[0]) : a == b;
}

// Whether name matches pattern: "*" any run of characters, "?" one character, ASCII letter
// case ignored, and "*.*" every name. A table over every pair of prefixes, free of any
// cleverness.
bool TableMatch(std::string_view nameText, std::string_view patternText, TPathStyle style) {
    if (patternText == "*.*") {
        return true;
    }
    const std::vector<std::string_view> name = Characters(nameText, style);
    // row[j]: the pattern's first i characters match the name's first j characters.
    std::vector<char> row(name.size() + 1, 0);
    row[0] = 1;
    for (std::string_view p : Characters(patternText, style)) {
        std::vector<char> next(name.size() + 1, 0);
        next[0] = p == "*" && row[0];
        for (std::size_t j = 1; j <= name.size(); ++j) {
            if (p == "*") {
                next[j] = row[j] || next[j - 1];
            } else {
                next[j] = row[j - 1] && (p == "?" || SameCharacter(p, name[j - 1]));
            }
        }
        row.swap(next);
    }
    return row[name.size()] != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    if (auto words = SplitCommandWords(text)) {
        auto again = SplitCommandWords(QuotedForShell(*words));
        if (!again || *again != *words) {
            std::abort();
        }
    }

    if (!text.empty()) {
        std::size_t length = static_cast<unsigned char>(text[0]) % text.size();
        std::string_view pattern = text.substr(1, length);
        std::string_view name = text.substr(1 + pattern.size());
        for (TPathStyle style : {TPathStyle::Posix, TPathStyle::Windows}) {
            if (MatchesMask(name, pattern, style) != TableMatch(name, pattern, style)) {
                std::abort();
            }
        }
    }
    return 0;
}
