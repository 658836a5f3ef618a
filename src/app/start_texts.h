#pragma once

#include "platform/narrow_text.h"

#include <string>

// What the program says at start-up, with its window or without, in the narrow encoding.

inline const std::string NoOutputFile = NarrowText("出力ﾌｧｲﾙが設定されていません");
inline const std::string NoChecker =
    NarrowText("ﾁｪｯｸﾌﾟﾛｸﾞﾗﾑ (allcheck.INI の VornaxelBatch=) が設定されていません");
inline const std::string AlreadyRunning =
    NarrowText("このﾌﾟﾛｸﾞﾗﾑは同じ出力ﾌｧｲﾙでもう動いています。そちらのｳｨﾝﾄﾞｳを使ってください:\n");
inline const std::string ProgramUnnamed =
    NarrowText("ﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞかﾌｧｲﾙの名前にｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字があるので、設定ﾌｧｲﾙを"
               "読めません。ﾌﾟﾛｸﾞﾗﾑをほかのﾌｫﾙﾀﾞに移してください:");
inline const std::string NothingChanged = NarrowText("前回のﾁｪｯｸから変更されたﾌｧｲﾙはありません");
