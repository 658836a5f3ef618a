#include "platform/widgets/dialogs.h"

#include "platform/widgets/qt/control_impl.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton ShowCritical(const std::string& message,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    FromFileName(message), buttons, QApplication::activeWindow());
    // A path is shown as it is, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void ShowErrorMessage(const std::string& message) {
    ShowCritical(message, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskRetry(const std::string& message) {
    return ShowCritical(message, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry) ==
           QMessageBox::Retry;
}
