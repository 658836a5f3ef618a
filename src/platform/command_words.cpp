#include "platform/command_words.h"

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
