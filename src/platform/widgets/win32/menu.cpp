#include "platform/widgets/menu.h"

#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/win32/control_impl.h"

#include <vector>

namespace {

// The menu is built from the items each time it opens, so items added at run time show. A
// command's identifier is its place in commands, counted from 1.
void AddItems(HMENU menu, TMenuItem& parent, std::vector<TMenuItem*>& commands) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        // A folder name is in the system's code page as it stands.
        const std::wstring caption = AnsiText(item->Caption);
        if (item->IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (item->Count() > 0) {
            HMENU submenu = CreatePopupMenu();
            AddItems(submenu, *item, commands);
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), caption.c_str());
        } else {
            commands.push_back(item);
            AppendMenuW(menu, MF_STRING, commands.size(), caption.c_str());
        }
    }
}

} // namespace

void TPopupMenu::Popup(int x, int y) {
    std::vector<TMenuItem*> commands;
    HMENU menu = CreatePopupMenu();
    AddItems(menu, Root, commands);
    HWND owner = GetActiveWindow();
    if (owner == nullptr && ::Application && ::Application->MainForm()) {
        owner = WindowOf(*::Application->MainForm());
    }
    // The menu is modal: the command runs once it has closed.
    const auto chosen = static_cast<std::size_t>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= commands.size()) {
        commands[chosen - 1]->Click();
    }
}
