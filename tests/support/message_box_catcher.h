#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// Watches for modal message boxes while it lives, records their texts and answers each with
// the given button (Ok, Cancel, Retry, ...), so that a test of a failure shown to the user
// runs on by itself.
class TMessageBoxCatcher : public QObject {
public:
    explicit TMessageBoxCatcher(int answer = QMessageBox::Ok);

    QStringList Texts;
    // Runs when a box has shown, before it is answered.
    std::function<void(const QString& text)> OnBox;
    // The button that answers the next box; a test may change it between boxes.
    int Answer;

private:
    void Poll();
    QTimer Timer;
};
