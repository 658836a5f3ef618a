#pragma once

#include "platform/narrow_text.h"

#include <string>

// The texts of the status line, in the narrow encoding, as all the window shows.
inline const std::string StatusSearching = NarrowText("ﾌｧｲﾙ検索中");
inline const std::string StatusListing = NarrowText("ﾘｽﾄｱｯﾌﾟ中");
inline const std::string StatusAllDone = NarrowText("全て終了しました");

// "<count> HTMLﾌｧｲﾙ"
inline std::string StatusFileCount(int count) {
    return std::to_string(count) + NarrowText(" HTMLﾌｧｲﾙ");
}

// The count, then on the same line why the output file could not be emptied at start, line
// breaks of the reason made blanks: "<count> HTMLﾌｧｲﾙ  出力ﾌｧｲﾙを空にできませんでした: <why>"
inline std::string StatusResetFailed(int count, std::string why) {
    for (char& c : why) {
        c = (c == '\r' || c == '\n') ? ' ' : c;
    }
    return StatusFileCount(count) + NarrowText("  出力ﾌｧｲﾙを空にできませんでした: ") + why;
}

// "(<index>/<count>) <path> 処理中", the index counted from 0 and count taken over the whole list.
inline std::string StatusProcessing(int index, int count, const std::string& path) {
    return "(" + std::to_string(index) + "/" + std::to_string(count) + ") " + path +
           NarrowText(" 処理中");
}
