#include "platform/widgets/menu.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QApplication>
#include <QMenu>

#include <unordered_map>

namespace {

using TActionItems = std::unordered_map<QAction*, TMenuItem*>;

// The menu is built from the items each time it opens, so items added at run time show.
void AddItems(QMenu& menu, TMenuItem& parent, TActionItems& actions) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        const QString caption = FromFileName(item->Caption);
        if (item->IsSeparator()) {
            menu.addSeparator();
        } else if (item->Count() > 0) {
            AddItems(*menu.addMenu(caption), *item, actions);
        } else {
            actions[menu.addAction(caption)] = item;
        }
    }
}

} // namespace

TMenuItem* ShowPopupMenu(TPopupMenu& popup, int x, int y) {
    // Over the active window, so that the desktop places the menu as that window's popup.
    QMenu menu(QApplication::activeWindow());
    TActionItems actions;
    AddItems(menu, popup.Items(), actions);
    const auto chosen = actions.find(menu.exec(QPoint(x, y)));
    return chosen != actions.end() ? chosen->second : nullptr;
}

// The desktop asks for what lay under the menu only through the event loop, which a run leaves
// to wait for its next checker as soon as the menu is done: the menu's picture would stay on
// the window until then. Every shown window is painted, the active one or not: the desktop may
// not have made the menu's window active yet.
void PopupMenuDone() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->repaint();
        }
    }
}
