#pragma once

#include "platform/narrow_text.h"

#include <string>

// The texts of the status line, in the narrow encoding, as all the window shows.
inline const std::string StatusSearching = NarrowText("ﾌｧｲﾙ検索中");
inline const std::string StatusListing = NarrowText("ﾘｽﾄｱｯﾌﾟ中");
inline const std::string StatusAllDone = NarrowText("全て終了しました");

// "<count> HTMLﾌｧｲﾙ", then how many sites could not be searched, if any:
// "<count> HTMLﾌｧｲﾙ  ｻｲﾄ <n> 件が見つかりません"
inline std::string StatusFileCount(int count, std::size_t sitesNotFound = 0) {
    std::string text = std::to_string(count) + NarrowText(" HTMLﾌｧｲﾙ");
    if (sitesNotFound > 0) {
        text += NarrowText("  ｻｲﾄ ") + std::to_string(sitesNotFound) +
                NarrowText(" 件が見つかりません");
    }
    return text;
}

// Why the output file could not be emptied at start: "出力ﾌｧｲﾙを空にできませんでした: <why>"
inline std::string ResetFailedText(const std::string& why) {
    return NarrowText("出力ﾌｧｲﾙを空にできませんでした: ") + why;
}

// The status after the scan, then on the same line why the output file cannot be used, line
// breaks made blanks.
inline std::string StatusWithProblem(const std::string& status, std::string problem) {
    for (char& c : problem) {
        c = (c == '\r' || c == '\n') ? ' ' : c;
    }
    return status + "  " + problem;
}

// The status after the scan, then on the same line ResetFailedText(why).
inline std::string StatusResetFailed(const std::string& status, const std::string& why) {
    return StatusWithProblem(status, ResetFailedText(why));
}

// "(<index>/<count>) <path> 処理中", the index counted from 0 and count taken over the whole list.
inline std::string StatusProcessing(int index, int count, const std::string& path) {
    return "(" + std::to_string(index) + "/" + std::to_string(count) + ") " + path +
           NarrowText(" 処理中");
}
