#include "platform/widgets/desktop.h"

#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

std::string DesktopItem(const std::string& path) {
    const QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(FromFileName(path)));
    return url.toString(QUrl::FullyEncoded).toStdString();
}

void OpenWithDesktop(const std::string& item) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(item), QUrl::StrictMode));
}
