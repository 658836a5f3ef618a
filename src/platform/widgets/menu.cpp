// What every toolkit shares of menus; the toolkit's half is in qt/menu.cpp and win32/menu.cpp.
#include "platform/widgets/menu.h"

#include "platform/widgets/application.h"

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
    Children.push_back(std::move(item));
    return Children.back().get();
}

void TMenuItem::Click() {
    if (OnClick) {
        GuardedCall([this] { OnClick(this); });
    }
}
