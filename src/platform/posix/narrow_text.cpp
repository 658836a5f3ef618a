#include "platform/narrow_text.h"

// The program's own texts are written in UTF-8 already, and paths are bytes: "/" is never part
// of another character.

std::string NarrowText(std::string_view utf8) {
    return std::string(utf8);
}

bool IsSystemLeadByte(char) {
    return false;
}

std::optional<std::string> NarrowFromUtf8(std::string_view utf8) {
    return std::string(utf8);
}
