#include "support/message_box_catcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

TMessageBoxCatcher::TMessageBoxCatcher(int answer) : Answer(answer) {
    connect(&Timer, &QTimer::timeout, this, &TMessageBoxCatcher::Poll);
    Timer.start(5);
}

void TMessageBoxCatcher::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    Texts << box->text();
    if (OnBox) {
        OnBox(box->text());
    }
    QAbstractButton* button = box->button(static_cast<QMessageBox::StandardButton>(Answer));
    if (button == nullptr) {
        button = box->buttons().value(0);
    }
    button->click();
}
