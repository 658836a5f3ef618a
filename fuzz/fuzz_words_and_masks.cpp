// Feeds arbitrary bytes to the splitting of the checker command into words and to the
// matching of names against wildcard patterns, and checks each against what it must agree with:
// split words, quoted again, split into the same words; a match agrees with a plain table match.
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

// Whether name matches pattern: "*" any run, "?" one byte, ASCII letter case ignored, and
// "*.*" every name. A table over every pair of prefixes, free of any cleverness.
bool TableMatch(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") {
        return true;
    }
    // row[j]: the pattern's first i bytes match the name's first j bytes.
    std::vector<char> row(name.size() + 1, 0);
    row[0] = 1;
    for (char p : pattern) {
        std::vector<char> next(name.size() + 1, 0);
        next[0] = p == '*' && row[0];
        for (std::size_t j = 1; j <= name.size(); ++j) {
            if (p == '*') {
                next[j] = row[j] || next[j - 1];
            } else {
                next[j] = row[j - 1] && (p == '?' || FoldAscii(p) == FoldAscii(name[j - 1]));
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
        if (MatchesMask(name, pattern) != TableMatch(name, pattern)) {
            std::abort();
        }
    }
    return 0;
}
