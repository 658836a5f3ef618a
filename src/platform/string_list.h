#pragma once

#include <string>
#include <string_view>
#include <vector>

// The blanks that separate entries of a comma text and surround settings values: every byte
// up to 0x20, never one above 0x7F.
inline bool IsBlankByte(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// An ordered list of byte strings, as the program's settings and lists use it.
class TStringList {
public:
    int Count() const { return static_cast<int>(Strings.size()); }
    // Raises EListError when index names no entry.
    const std::string& operator[](int index) const;
    void Add(std::string text) { Strings.push_back(std::move(text)); }
    void Clear() { Strings.clear(); }

    // Replaces the entries by those of a comma text: entries are separated by commas and by
    // blanks (bytes up to 0x20) outside quotes; an entry in double quotes may hold blanks and
    // commas, and "" inside it stands for one quote.
    void SetCommaText(std::string_view text);

    // Replaces the entries by the lines of text; lines end at CR LF, LF or CR.
    void SetText(std::string_view text);

    auto begin() const { return Strings.begin(); }
    auto end() const { return Strings.end(); }
    const std::vector<std::string>& Items() const { return Strings; }

private:
    std::vector<std::string> Strings;
};
