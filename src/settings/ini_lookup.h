#pragma once

#include "platform/string_list.h"
#include "settings/settings_file.h"

#include <optional>
#include <string>
#include <string_view>

// Lookup in the companion editor's settings file: exact, letter case significant, no trimming.
// The program has always read that file so, and a lenient reader could find a different line
// there; its own settings file is read by the platform's reader (platform/ini_file.h).

// True when the text of line before its first "=" equals key.
bool KeyMatches(std::string_view key, std::string_view line);
// The text of line after its first "="; the whole line when it has none.
std::string_view ValueOf(std::string_view line);

// The value of key in the first section headed "[section]" of lines, or nothing.
std::optional<std::string_view> LookupIniString(const TStringList& lines, std::string_view section,
                                                std::string_view key);
// The value of key in the first section headed "[section]", or defaultValue when the file,
// that header or the key is missing, or when the file or the value is refused (see
// TSettingsFile); what was refused is added to problems. Never fails.
std::string ReadIniString(const std::string& fileName, std::string_view section,
                          std::string_view key, const std::string& defaultValue,
                          TSettingsProblems& problems);
