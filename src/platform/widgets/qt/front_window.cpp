#include "platform/widgets/front_window.h"

#include "platform/widgets/form.h"
#include "platform/widgets/qt/control_impl.h"

#include <QApplication>
#include <QFile>
#include <QFileSystemWatcher>
#include <QWidget>

namespace {

void Raise(QWidget* window) {
    if (window->isMinimized()) {
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
    if (QWidget* box = QApplication::activeModalWidget(); box != nullptr && box != window) {
        box->raise();
        box->activateWindow();
    }
}

} // namespace

struct TFrontOnRequest::TImpl {
    QFileSystemWatcher Watcher;
};

TFrontOnRequest::TFrontOnRequest(TForm& form, const std::string& key)
    : Impl(std::make_unique<TImpl>()) {
    Impl->Watcher.addPath(FromFileName(key));
    QObject::connect(&Impl->Watcher, &QFileSystemWatcher::fileChanged,
                     [window = QtWidget(form)] { Raise(window); });
}

TFrontOnRequest::~TFrontOnRequest() = default;

void AskToFront(const std::string& key) {
    QFile lock(FromFileName(key));
    if (lock.open(QIODevice::WriteOnly | QIODevice::ExistingOnly)) {
        lock.write("!", 1);
    }
}
