#pragma once

#include <string>

// The texts of the status line (UTF-8).
inline constexpr const char* StatusSearching = "ﾌｧｲﾙ検索中";
inline constexpr const char* StatusListing = "ﾘｽﾄｱｯﾌﾟ中";

// "<count> HTMLﾌｧｲﾙ"
inline std::string StatusFileCount(int count) {
    return std::to_string(count) + " HTMLﾌｧｲﾙ";
}
