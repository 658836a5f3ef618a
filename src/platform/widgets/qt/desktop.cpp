#include "platform/widgets/desktop.h"

#include "platform/widgets/qt/control_impl.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {
std::function<void(const std::string&)>& Opener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}
} // namespace

void ShellOpen(const std::string& path) {
    QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(FromFileName(path)));
    if (Opener()) {
        Opener()(url.toString(QUrl::FullyEncoded).toStdString());
    } else {
        QDesktopServices::openUrl(url);
    }
}

void OverrideShellOpener(std::function<void(const std::string& url)> opener) {
    Opener() = std::move(opener);
}
