#include "platform/widgets/dialogs.h"

#include "platform/win32/wide_text.h"
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

int Show(const std::wstring& text, UINT buttons) {
    return MessageBoxW(GetActiveWindow(), text.c_str(), Title().c_str(), buttons);
}

} // namespace

void ShowErrorMessage(const std::string& message) {
    Show(AnsiText(message), MB_OK | MB_ICONERROR);
}

bool AskRetry(const std::string& message) {
    return Show(AnsiText(message), MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY;
}

bool AskYesNo(const std::string& message) {
    return Show(AnsiText(message), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void ShowWarningMessage(const std::string& message, const std::vector<std::string>& utf8Lines) {
    std::wstring text = AnsiText(message);
    for (const std::string& line : utf8Lines) {
        text += L'\n' + Widen(CP_UTF8, line);
    }
    Show(text, MB_OK | MB_ICONWARNING);
}
