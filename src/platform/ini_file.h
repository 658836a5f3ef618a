#pragma once

#include "platform/string_list.h"

#include <string>
#include <string_view>
#include <vector>

// Reader of a settings file made of "[Section]" headers and "Key=Value" lines. Section and key
// names match without regard to ASCII letter case, blanks around names and values are dropped,
// lines that begin with ";" are comments, and the first occurrence of a key wins. A file that
// is missing, is no regular file or cannot be read holds nothing; a UTF-8 byte-order mark at
// its start is skipped.
class TIniFile {
public:
    explicit TIniFile(const std::string& fileName);
    static TIniFile FromText(std::string_view text);

    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;

private:
    TIniFile() = default;
    void Parse(const TStringList& lines);

    struct TEntry {
        std::string Section;
        std::string Key;
        std::string Value;
    };
    std::vector<TEntry> Entries;
};
