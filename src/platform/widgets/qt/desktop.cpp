#include "platform/widgets/desktop.h"

#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QVariantMap>

std::string DesktopItem(const std::string& path) {
    const QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(FromFileName(path)));
    return url.toString(QUrl::FullyEncoded).toStdString();
}

void OpenWithDesktop(const std::string& item) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(item), QUrl::StrictMode));
}

// The launcher entry's signal, which docks and task managers that show progress listen to for
// the program of a desktop entry: the one that packaging/install-desktop-entry installs.
void ShowProgressOnDesktop(TForm& /*window*/, const TTaskProgress& progress) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    const bool shown = progress.State != TProgressState::None && progress.Total > 0;
    QVariantMap properties;
    properties.insert("progress-visible", shown);
    properties.insert("progress",
                      shown ? static_cast<double>(progress.Done) / progress.Total : 0.0);
    QDBusMessage update = QDBusMessage::createSignal("/com/canonical/unity/launcherentry/allcheck",
                                                     "com.canonical.Unity.LauncherEntry", "Update");
    update << QString("application://allcheck.desktop") << properties;
    bus.send(update);
}
