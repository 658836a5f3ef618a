#include "platform/ini_file.h"

#include "platform/string_list.h"

#include <algorithm>

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlankByte(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlankByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

TIniFile TIniFile::FromText(std::string_view text) {
    TStringList lines;
    lines.SetText(text);
    return TIniFile(lines);
}

TIniFile::TIniFile(const TStringList& lines) {
    std::string section;
    for (const std::string& raw : lines) {
        std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            section = Trim(line.substr(1, close == std::string_view::npos ? close : close - 1));
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            Entries.push_back({section, std::string(Trim(line.substr(0, equals))),
                               std::string(Trim(line.substr(equals + 1)))});
        }
    }
}

const TIniFile::TEntry* TIniFile::Find(std::string_view section, std::string_view key) const {
    auto found = std::find_if(Entries.begin(), Entries.end(), [&](const TEntry& entry) {
        return SameText(entry.Section, section) && SameText(entry.Key, key);
    });
    return found == Entries.end() ? nullptr : &*found;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& defaultValue) const {
    const TEntry* found = Find(section, key);
    return found == nullptr ? defaultValue : found->Value;
}
