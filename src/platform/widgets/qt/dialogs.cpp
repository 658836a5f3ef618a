#include "platform/widgets/dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QWidget* Owner() {
    return QApplication::activeWindow();
}
QString Title() {
    return QApplication::applicationDisplayName();
}
} // namespace

void ShowErrorMessage(const std::string& message) {
    QMessageBox::critical(Owner(), Title(), QString::fromStdString(message));
}

bool AskRetry(const std::string& message) {
    return QMessageBox::critical(Owner(), Title(), QString::fromStdString(message),
                                 QMessageBox::Retry | QMessageBox::Cancel,
                                 QMessageBox::Retry) == QMessageBox::Retry;
}
