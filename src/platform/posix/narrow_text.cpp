#include "platform/narrow_text.h"

// Paths are bytes here: "/" is never part of another character, and the program's own texts are
// written in UTF-8 already.

std::string ReportText(std::string_view utf8) {
    return std::string(utf8);
}

std::size_t LastDelimiter(std::string_view chars, std::string_view text) {
    return text.find_last_of(chars);
}

std::string_view DropLastChar(std::string_view text) {
    return text.substr(0, text.empty() ? 0 : text.size() - 1);
}

std::optional<std::string> MarkedTextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return std::string(bytes.substr(3));
    }
    return std::nullopt;
}

std::optional<std::string> NarrowFromUtf8(std::string_view utf8) {
    return std::string(utf8);
}
