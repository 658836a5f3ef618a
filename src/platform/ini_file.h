#pragma once

#include "platform/string_list.h"

#include <string>
#include <string_view>
#include <vector>

// Reader of a settings file made of "[Section]" headers and "Key=Value" lines. Section and key
// names match without regard to ASCII letter case, blanks around names and values are dropped,
// lines that begin with ";" are comments, and the first occurrence of a key wins.
//
// It reads the program's own settings file, where a key in other letter case or with blanks
// around "=" means the same. The companion editor's file is read by the program's own exact
// line lookup instead (settings/ini_lookup.h), which finds there the line it always has.
class TIniFile {
public:
    explicit TIniFile(const TStringList& lines);
    static TIniFile FromText(std::string_view text);

    bool ValueExists(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;

private:
    struct TEntry {
        std::string Section;
        std::string Key;
        std::string Value;
    };
    const TEntry* Find(std::string_view section, std::string_view key) const;

    std::vector<TEntry> Entries;
};
