#include "platform/string_list.h"

#include "platform/exceptions.h"

namespace {

// Reads a double-quoted entry starting at text[pos] == '"'; "" stands for one quote, and an
// entry without its closing quote runs to the end of the text.
std::string ExtractQuoted(std::string_view text, std::size_t& pos) {
    std::string result;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
                result += '"';
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        result += text[pos++];
    }
    return result;
}

} // namespace

const std::string& TStringList::operator[](int index) const {
    if (index < 0 || index >= Count()) {
        throw EListError::IndexError(index);
    }
    return Strings[static_cast<std::size_t>(index)];
}

void TStringList::SetCommaText(std::string_view text) {
    Strings.clear();
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < text.size() && IsBlankByte(text[pos])) {
            ++pos;
        }
    };
    skipBlanks();
    while (pos < text.size()) {
        if (text[pos] == '"') {
            Strings.push_back(ExtractQuoted(text, pos));
        } else {
            std::size_t start = pos;
            while (pos < text.size() && !IsBlankByte(text[pos]) && text[pos] != ',') {
                ++pos;
            }
            Strings.emplace_back(text.substr(start, pos - start));
        }
        skipBlanks();
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
            skipBlanks();
        }
    }
}

void TStringList::SetText(std::string_view text) {
    Strings.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            Strings.emplace_back(text.substr(start));
            break;
        }
        Strings.emplace_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}
