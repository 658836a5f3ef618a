#include "platform/widgets/desktop.h"

#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

std::string DesktopItem(const std::string& path) {
    const QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(FromFileName(path)));
    return url.toString(QUrl::FullyEncoded).toStdString();
}

// xdg-open says at once whether the desktop has a program for the file, once it has started one
// (gio, kde-open) or failed (no program: status 3 or 4). Where it is still running after a
// moment, it runs the program itself (its generic way, without a desktop) until the user closes
// it: the desktop has taken the file. It is left running then, and reaped when it ends.
bool OpenWithDesktop(const std::string& item) {
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->start("xdg-open", {QString::fromStdString(item)});
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    QEventLoop answer;
    QObject::connect(opener, &QProcess::finished, &answer, &QEventLoop::quit);
    QTimer::singleShot(2000, &answer, &QEventLoop::quit);
    // Input waits, in its order, until the answer is known; the windows go on painting.
    if (opener->state() != QProcess::NotRunning) {
        answer.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (opener->state() != QProcess::NotRunning) {
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    delete opener;
    return opened;
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
