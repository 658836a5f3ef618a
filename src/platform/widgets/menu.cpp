// What every toolkit shares of menus; the toolkit's half is in qt/menu.cpp and win32/menu.cpp.
#include "platform/widgets/menu.h"

#include "platform/widgets/application.h"
#include "platform/widgets/toolkit.h"

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
    Children.push_back(std::move(item));
    return Children.back().get();
}

void TMenuItem::Click() {
    if (OnClick) {
        GuardedCall([this] { OnClick(this); });
    }
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) {
        GuardedCall([this] { OnPopup(this); });
    }
    TMenuItem* chosen = ShowPopupMenu(*this, x, y);
    if (OnClose) {
        GuardedCall([this] { OnClose(this); });
    }
    if (chosen) {
        chosen->Click();
    }
    PopupMenuDone();
}
