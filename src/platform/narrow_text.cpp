#include "platform/narrow_text.h"

namespace {

// Code page 932: a byte of 81-9F or E0-FC starts a double-byte character.
bool IsCodePage932LeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The position after the character that starts at i. A lead byte at the very end stands alone.
std::size_t NextChar(std::string_view text, std::size_t i, TPathStyle style) {
    return (IsLeadByte(text[i], style) && i + 1 < text.size()) ? i + 2 : i + 1;
}

} // namespace

bool IsLeadByte(char c, TPathStyle style) {
    switch (style) {
    case TPathStyle::Native:
        return IsSystemLeadByte(c);
    case TPathStyle::Posix:
        return false;
    case TPathStyle::Windows:
        return IsCodePage932LeadByte(c);
    }
    return false;
}

// Both walk forward from the start: only there is it certain where a character begins, since a
// second byte can look like a lead byte or like "\".
std::size_t LastDelimiter(std::string_view chars, std::string_view text, TPathStyle style) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i = NextChar(text, i, style)) {
        if (chars.find(text[i]) != std::string_view::npos) {
            last = i;
        }
    }
    return last;
}

std::string_view DropLastChar(std::string_view text, TPathStyle style) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); i = NextChar(text, i, style)) {
        start = i;
    }
    return text.substr(0, start);
}
