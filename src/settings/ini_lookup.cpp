#include "settings/ini_lookup.h"

#include "platform/exceptions.h"
#include "platform/string_list.h"

#include <algorithm>

bool KeyMatches(std::string_view key, std::string_view line) {
    std::size_t equals = line.find('=');
    return line.substr(0, equals == std::string_view::npos ? 0 : equals) == key;
}

std::string_view ValueOf(std::string_view line) {
    std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

std::string ReadIniString(const std::string& fileName, std::string_view section,
                          std::string_view key, const std::string& defaultValue) {
    TStringList lines;
    try {
        lines.LoadFromFile(fileName);
    } catch (const EInOutError&) {
        return defaultValue;
    }
    return LookupIniString(lines, section, key, defaultValue);
}

std::string LookupIniString(const TStringList& lines, std::string_view section,
                            std::string_view key, const std::string& defaultValue) {
    const std::string header = "[" + std::string(section) + "]";
    auto line = std::find(lines.begin(), lines.end(), header);
    if (line == lines.end()) {
        return defaultValue;
    }
    line = std::find_if(std::next(line), lines.end(), [&](const std::string& text) {
        return (!text.empty() && text.front() == '[') || KeyMatches(key, text);
    });
    if (line == lines.end() || !KeyMatches(key, *line)) {
        return defaultValue;
    }
    return std::string(ValueOf(*line));
}
