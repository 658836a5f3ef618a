#pragma once

#include "platform/narrow_text.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// What the window says of a run's journal, of a run stopped or continued, and of pages that
// have no checker's report, in the narrow encoding.

inline const std::string StatusNothingChecked = NarrowText("ﾁｪｯｸするﾌｧｲﾙがありません");
inline const std::string StatusStopped =
    NarrowText("ﾁｪｯｸを中止しました。終わったﾌｧｲﾙの結果を保存しました");
inline const std::string StopQuestion =
    NarrowText("ﾁｪｯｸを中止しますか?\n終わったﾌｧｲﾙの結果は保存され、次に起動したときに続きから"
               "ﾁｪｯｸできます");

// "終了しました。ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑのﾚﾎﾟｰﾄがないﾌｧｲﾙが <count> 件あります"
inline std::string StatusSomeFailed(std::size_t count) {
    return NarrowText("終了しました。ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑのﾚﾎﾟｰﾄがないﾌｧｲﾙが ") + std::to_string(count) +
           NarrowText(" 件あります");
}

// The box at the end of such a run: how many, the first few "path: why", and where the rest is.
inline std::string FailuresText(const std::vector<std::string>& failures) {
    constexpr std::size_t Shown = 5;
    std::string text = NarrowText("ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑのﾚﾎﾟｰﾄがないﾌｧｲﾙが ") +
                       std::to_string(failures.size()) +
                       NarrowText(" 件あります。全ての理由は結果のﾌｧｲﾙにあります:");
    for (std::size_t i = 0; i < failures.size() && i < Shown; ++i) {
        text += "\n" + failures[i];
    }
    if (failures.size() > Shown) {
        text += NarrowText("\nほか ") + std::to_string(failures.size() - Shown) + NarrowText(" 件");
    }
    return text;
}

// "結果ﾌｧｲﾙを開けませんでした: <path>"
inline std::string CannotOpenResultText(const std::string& path) {
    return NarrowText("結果ﾌｧｲﾙを開けませんでした: ") + path;
}

// The status while what a page's checker left running is waited for:
// "(<index>/<count>) <path> ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが起動したﾌﾟﾛｸﾞﾗﾑの終了待ち"
inline std::string StatusAwaitingLeftovers(int index, int count, const std::string& path) {
    return "(" + std::to_string(index) + "/" + std::to_string(count) + ") " + path +
           NarrowText(" ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑが起動したﾌﾟﾛｸﾞﾗﾑの終了待ち");
}

inline std::string JournalFailedText(const std::string& why) {
    return NarrowText("ｼﾞｬｰﾅﾙを書けないのでﾁｪｯｸを始めません: ") + why;
}

inline std::string JournalReplacedText(const std::string& path) {
    return NarrowText("中断したﾁｪｯｸのｼﾞｬｰﾅﾙが置き換えられたか消されたので続けられません: ") + path;
}

// A combined report that could not replace the output file: why, then where it is.
inline std::string ReportKeptText(const std::string& why, const std::string& kept) {
    return why + NarrowText("  結果はこのﾌｧｲﾙに残しました: ") + kept;
}

// A time of the journal as the user reads it: "2026/12/08 19:30".
inline std::string JournalTimeText(std::int64_t time) {
    const std::time_t when = static_cast<std::time_t>(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M", std::localtime(&when));
    return text;
}

inline std::string ContinueQuestion(std::size_t done, std::size_t total, std::int64_t stopped) {
    return NarrowText("前回のﾁｪｯｸが ") + JournalTimeText(stopped) +
           NarrowText(" に中断しています (") + std::to_string(total) + NarrowText(" ﾌｧｲﾙ中 ") +
           std::to_string(done) + NarrowText(" ﾌｧｲﾙ終了)。\n続きからﾁｪｯｸしますか?");
}

inline std::string StatusContinuing(std::size_t pending) {
    return NarrowText("中断したﾁｪｯｸの残り ") + std::to_string(pending) +
           NarrowText(" ﾌｧｲﾙにﾁｪｯｸを付けました。ﾁｪｯｸ開始で続けます");
}

inline std::string ContinuingText(std::size_t pending) {
    return NarrowText("中断したﾁｪｯｸの残り ") + std::to_string(pending) +
           NarrowText(" ﾌｧｲﾙをﾁｪｯｸします");
}

inline std::string UnfinishedKeptText(const std::string& kept) {
    return NarrowText("中断したﾁｪｯｸの結果をこのﾌｧｲﾙに残しました: ") + kept;
}

inline std::string OtherSettingsText(const std::string& kept) {
    return NarrowText("前回のﾁｪｯｸは今と違う設定で中断したので続けられません。その結果をこのﾌｧｲﾙに"
                      "残しました: ") +
           kept;
}

inline std::string JournalSetAsideText(const std::string& journal, const std::string& aside) {
    return NarrowText("ｼﾞｬｰﾅﾙ ") + journal +
           NarrowText(" は壊れているか、このﾌﾟﾛｸﾞﾗﾑのこの版のものではないので読みません。"
                      "この名前で残しました: ") +
           aside;
}

inline std::string CheckRecordSetAsideText(const std::string& record, const std::string& aside) {
    return NarrowText("ﾁｪｯｸの記録 ") + record +
           NarrowText(" は壊れているか、このﾌﾟﾛｸﾞﾗﾑのこの版のものではないので読みません。"
                      "全てのﾌｧｲﾙを変更されたものとします。この名前で残しました: ") +
           aside;
}

inline std::string CheckRecordReplacedText(const std::string& record) {
    return NarrowText("ﾁｪｯｸの記録が置き換えられたか消されたので書きません: ") + record;
}

inline std::string CheckRecordFailedText(const std::string& why) {
    return NarrowText("ﾁｪｯｸの記録を書けませんでした: ") + why;
}

// "変更されたﾌｧｲﾙ <changed> 個にﾁｪｯｸを付けました (<count> HTMLﾌｧｲﾙ中)"
inline std::string StatusChangedChecked(int changed, int count) {
    return NarrowText("変更されたﾌｧｲﾙ ") + std::to_string(changed) +
           NarrowText(" 個にﾁｪｯｸを付けました (") + std::to_string(count) +
           NarrowText(" HTMLﾌｧｲﾙ中)");
}
