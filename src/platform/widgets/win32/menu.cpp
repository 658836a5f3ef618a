#include "platform/widgets/menu.h"

#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/toolkit.h"
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

TMenuItem* ShowPopupMenu(TPopupMenu& popup, int x, int y) {
    std::vector<TMenuItem*> commands;
    HMENU menu = CreatePopupMenu();
    AddItems(menu, popup.Items(), commands);
    HWND owner = GetActiveWindow();
    if (owner == nullptr && ::Application && ::Application->MainForm()) {
        owner = WindowOf(*::Application->MainForm());
    }
    const auto chosen = static_cast<std::size_t>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen >= 1 && chosen <= commands.size() ? commands[chosen - 1] : nullptr;
}

// The system paints what lay under a menu as it closes.
void PopupMenuDone() {}
