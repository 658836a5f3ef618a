#include "settings/ini_lookup.h"

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
                          std::string_view key, const std::string& defaultValue,
                          TSettingsProblems& problems) {
    TSettingsFile file(fileName, problems);
    std::optional<std::string_view> value = LookupIniString(file.Lines(), section, key);
    if (!value) {
        return defaultValue;
    }
    return file.Usable(key, *value, problems).value_or(defaultValue);
}

std::optional<std::string_view> LookupIniString(const TStringList& lines, std::string_view section,
                                                std::string_view key) {
    const std::string header = "[" + std::string(section) + "]";
    auto line = std::find(lines.begin(), lines.end(), header);
    if (line == lines.end()) {
        return std::nullopt;
    }
    line = std::find_if(std::next(line), lines.end(), [&](const std::string& text) {
        return (!text.empty() && text.front() == '[') || KeyMatches(key, text);
    });
    if (line == lines.end() || !KeyMatches(key, *line)) {
        return std::nullopt;
    }
    return ValueOf(*line);
}
