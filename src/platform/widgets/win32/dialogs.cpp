#include "platform/widgets/dialogs.h"

#include "platform/widgets/win32/screen_text.h"
#include "platform/win32/windows_api.h"

namespace {

// The executable's name without its folder and extension, as the title of every box.
std::wstring Title() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring title = path;
    title.erase(0, title.find_last_of(L"\\/") + 1);
    return title.substr(0, title.rfind(L'.'));
}

int Show(const std::string& message, UINT buttons) {
    return MessageBoxW(GetActiveWindow(), DisplayText(message).c_str(), Title().c_str(),
                       buttons | MB_ICONERROR);
}

} // namespace

void ShowErrorMessage(const std::string& message) {
    Show(message, MB_OK);
}

bool AskRetry(const std::string& message) {
    return Show(message, MB_RETRYCANCEL) == IDRETRY;
}
