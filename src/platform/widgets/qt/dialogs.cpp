#include "platform/widgets/dialogs.h"

#include "platform/widgets/qt/control_impl.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, buttons,
                    QApplication::activeWindow());
    // A path is shown as it is, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void ShowErrorMessage(const std::string& message) {
    Show(QMessageBox::Critical, FromFileName(message), QMessageBox::Ok, QMessageBox::Ok);
}

bool AskRetry(const std::string& message) {
    return Show(QMessageBox::Critical, FromFileName(message),
                QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry) == QMessageBox::Retry;
}

bool AskYesNo(const std::string& message) {
    return Show(QMessageBox::Question, FromFileName(message), QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void ShowWarningMessage(const std::string& message, const std::vector<std::string>& utf8Lines) {
    QString text = FromFileName(message);
    for (const std::string& line : utf8Lines) {
        text += '\n' + FromUtf8(line);
    }
    Show(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}
