#include "platform/widgets/desktop.h"

#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/control_impl.h"

#include <shellapi.h>

std::string DesktopItem(const std::string& path) {
    return path;
}

void OpenWithDesktop(const std::string& item) {
    TForm* main = ::Application ? ::Application->MainForm() : nullptr;
    ShellExecuteA(main ? WindowOf(*main) : nullptr, "Open", item.c_str(), nullptr, nullptr,
                  SW_SHOW);
}
