#include "platform/command_words.h"

#include <algorithm>
#include <cctype>

std::optional<std::vector<std::string>> SplitCommandWords(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    std::size_t i = 0;
    const std::size_t n = command.size();
    while (i < n) {
        char c = command[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++i;
        } else if (c == '\'') {
            std::size_t close = command.find('\'', i + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            word.append(command.substr(i + 1, close - i - 1));
            inWord = true;
            i = close + 1;
        } else if (c == '"') {
            inWord = true;
            for (++i;; ++i) {
                if (i >= n) {
                    return std::nullopt;
                }
                if (command[i] == '"') {
                    ++i;
                    break;
                }
                if (command[i] == '\\' && i + 1 < n &&
                    std::string_view("\\\"$`\n").find(command[i + 1]) != std::string_view::npos) {
                    ++i;
                    if (command[i] == '\n') {
                        continue;
                    }
                }
                word += command[i];
            }
        } else if (c == '\\') {
            if (i + 1 >= n) {
                return std::nullopt;
            }
            if (command[i + 1] != '\n') {
                word += command[i + 1];
                inWord = true;
            }
            i += 2;
        } else {
            word += c;
            inWord = true;
            ++i;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool SaysOff(std::string_view value) {
    constexpr std::string_view off = ":OFF";
    return value.size() == off.size() &&
           std::equal(value.begin(), value.end(), off.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

} // namespace

TCommandSwitches ReadCommandSwitches(std::string_view afterProgram) {
    TCommandSwitches switches;
    std::size_t i = 0;
    const std::size_t n = afterProgram.size();
    while (i < n) {
        if (IsBlank(afterProgram[i])) {
            ++i;
            continue;
        }
        if (afterProgram[i] != '/' || i + 1 >= n) {
            break;
        }
        const char letter =
            static_cast<char>(std::toupper(static_cast<unsigned char>(afterProgram[i + 1])));
        std::size_t end = i + 2;
        while (end < n && !IsBlank(afterProgram[end]) && afterProgram[end] != '/') {
            ++end;
        }
        const std::string_view value = afterProgram.substr(i + 2, end - i - 2);
        if (letter == 'C' || letter == 'K' || letter == 'R') {
            std::size_t command = i + 2;
            while (command < n && IsBlank(afterProgram[command])) {
                ++command;
            }
            switches.Command = command;
            break;
        }
        if (letter == 'V') {
            switches.DelayedExpansion =
                switches.DelayedExpansion.value_or(false) || !SaysOff(value);
        } else if (letter == 'E' || letter == 'X' || letter == 'Y') {
            const bool on = letter == 'X' || (letter == 'E' && !SaysOff(value));
            switches.Extensions = switches.Extensions.value_or(true) && on;
        }
        i = end;
    }
    return switches;
}
