#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splits a command into words by the shell's quoting rules, with no expansion of any kind:
// unquoted blanks (space, tab, newline) separate words; '...' keeps everything inside as it
// stands; inside "..." a backslash keeps only \ " $ ` and newline; outside quotes a backslash
// keeps the next character, and a backslash before a newline removes both. Gives nothing for
// an unclosed quote or a trailing backslash.
std::optional<std::vector<std::string>> SplitCommandWords(std::string_view command);
