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

namespace {

void AppendUtf8(std::string& text, char32_t c) {
    auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x80) {
        text += byte(c);
    } else if (c < 0x800) {
        text += {byte(0xC0 | (c >> 6)), byte(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        text += {byte(0xE0 | (c >> 12)), byte(0x80 | ((c >> 6) & 0x3F)), byte(0x80 | (c & 0x3F))};
    } else {
        text += {byte(0xF0 | (c >> 18)), byte(0x80 | ((c >> 12) & 0x3F)),
                 byte(0x80 | ((c >> 6) & 0x3F)), byte(0x80 | (c & 0x3F))};
    }
}

std::string Utf16AsUtf8(std::string_view bytes, bool bigEndian) {
    const std::size_t count = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = unit(i);
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(text, c);
    }
    return text;
}

} // namespace

std::optional<std::string> MarkedTextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return std::string(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return Utf16AsUtf8(bytes.substr(2), bytes[0] == '\xFE');
    }
    return std::nullopt;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The lead byte tells the length and, for the forms that could be overlong, surrogates
        // or too large, the range of the byte after it.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}
