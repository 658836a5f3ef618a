#include "platform/widgets/menu.h"

#include "platform/widgets/application.h"

#include <QMenu>

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
    Children.push_back(std::move(item));
    return Children.back().get();
}

void TMenuItem::Click() {
    if (OnClick) {
        GuardedCall([this] { OnClick(this); });
    }
}

namespace {

// The menu is built from the items each time it opens, so items added at run time show.
void AddItems(QMenu& menu, TMenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        QString caption = QString::fromStdString(item->Caption);
        if (item->IsSeparator()) {
            menu.addSeparator();
        } else if (item->Count() > 0) {
            AddItems(*menu.addMenu(caption), *item);
        } else {
            QAction* action = menu.addAction(caption);
            action->setObjectName(QString::fromStdString(item->Name));
            QObject::connect(action, &QAction::triggered, [item] { item->Click(); });
        }
    }
}

} // namespace

void TPopupMenu::Popup(int x, int y) {
    auto* menu = new QMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    AddItems(*menu, Root);
    menu->popup(QPoint(x, y));
}
