#include "platform/exceptions.h"

#include "platform/narrow_text.h"
#include "platform/system.h"

namespace {

const char* ActionText(TFileAction action) {
    switch (action) {
    case TFileAction::Open:
        return "ﾌｧｲﾙを開けません";
    case TFileAction::Create:
        return "ﾌｧｲﾙを作れません";
    case TFileAction::WriteInPlace:
        return "ﾌｧｲﾙにほかの名前 (ﾊｰﾄﾞﾘﾝｸ) もあるので、その場では書き換えません";
    case TFileAction::GetSize:
        return "ﾌｧｲﾙの大きさがわかりません";
    case TFileAction::Read:
        return "ﾌｧｲﾙを読めません";
    case TFileAction::Write:
        return "ﾌｧｲﾙに書き込めません";
    case TFileAction::Close:
        return "ﾌｧｲﾙを閉じられません";
    case TFileAction::RenameTo:
        return "ﾌｧｲﾙをこの名前にできません";
    }
    return "ﾌｧｲﾙを扱えません";
}

} // namespace

EInOutError EInOutError::FromCode(int errorCode, TFileAction action, const std::string& path) {
    return EInOutError(errorCode, NarrowText(ActionText(action)) + ": " + path + " (" +
                                      SystemErrorText(errorCode) + ")");
}

EListError EListError::IndexError(long long index) {
    return EListError("List index out of bounds (" + std::to_string(index) + ")");
}
