#pragma once

#include "platform/widgets/types.h"

#include <memory>
#include <string>
#include <vector>

// One entry of a menu: a command, a separator (caption "-") or a submenu (when it has items).
class TMenuItem : public TObject {
public:
    explicit TMenuItem(std::string caption = {}) : Caption(std::move(caption)) {}

    std::string Caption; // in the narrow encoding; "&" marks the accelerator
    int Tag = 0;
    TNotifyEvent OnClick;

    // Appends a child item; the item owns it.
    TMenuItem* Add(std::unique_ptr<TMenuItem> item);
    int Count() const { return static_cast<int>(Children.size()); }
    TMenuItem* Items(int index) const { return Children.at(static_cast<std::size_t>(index)).get(); }
    bool IsSeparator() const { return Caption == "-"; }

    // What choosing the item does: its OnClick handler, when assigned, under the application's
    // guard.
    void Click();

private:
    std::vector<std::unique_ptr<TMenuItem>> Children;
};

// A menu that opens at a point of the screen.
class TPopupMenu : public TObject {
public:
    TMenuItem& Items() { return Root; }
    const TMenuItem& Items() const { return Root; }
    // Opens the menu at (x, y) in screen coordinates and returns when it has closed, with the
    // chosen item's command carried out.
    void Popup(int x, int y);

    // As the menu opens, and once it has closed, before the chosen command runs.
    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

private:
    TMenuItem Root;
};
