#pragma once

#include <cstddef>
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

// The switches that cmd.exe reads in front of its command (Windows' command interpreter; a pure
// rule, so that it is tested on every system). Each "/" starts a switch, named by the letter
// after it and running to the next blank or "/"; /C, /K and /R end them, and the command
// starts after the letter and the blanks that follow.
struct TCommandSwitches {
    // Where the command starts; npos without /C, /K or /R.
    std::size_t Command = std::string_view::npos;
    // Whether !name! is a variable (/V) and % can be kept plain (/E, /X, /Y); unset where no
    // switch says, and the system's settings decide. cmd.exe takes /V and /E followed by
    // anything but ":OFF" as on; where several switches disagree, the one that may change a
    // path wins.
    std::optional<bool> DelayedExpansion;
    std::optional<bool> Extensions;
};
TCommandSwitches ReadCommandSwitches(std::string_view afterProgram);
