#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <utility>

// While it lives, answers the popup menus that open: in each it chooses the entry with the next
// of the given captions, as the user would with the keyboard, which opens a submenu or carries
// out a command. A menu that opens when no caption is left is closed.
class TPopupMenuChooser {
public:
    explicit TPopupMenuChooser(QStringList captions) : Captions(std::move(captions)) {
        QObject::connect(&Timer, &QTimer::timeout, [this] { Poll(); });
        Timer.start(5);
    }

private:
    void Poll() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible() || menu == Answered) {
            return;
        }
        Answered = menu;
        const QString caption = Captions.isEmpty() ? QString() : Captions.takeFirst();
        for (QAction* action : menu->actions()) {
            if (!caption.isEmpty() && action->text() == caption) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        if (!caption.isEmpty()) {
            qWarning("The menu has no entry %s", qPrintable(caption));
        }
        menu->close();
    }

    QStringList Captions;
    QPointer<QMenu> Answered;
    QTimer Timer;
};
