#include "platform/widgets/application.h"

#include "platform/posix/session_bus.h"
#include "platform/widgets/form.h"
#include "platform/widgets/qt/control_impl.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QSocketNotifier>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The window font that the program asks for is not found on Linux; these Japanese gothic
// faces draw its half-width katakana well.
const char* const JapaneseUiFont = "ＭＳ Ｐゴシック";
const QStringList JapaneseUiSubstitutes = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP",
                                           "VL PGothic", "TakaoPGothic"};

// A bus answers its first words in milliseconds; a start-up may wait this long for them.
constexpr std::chrono::seconds SessionBusPatience{2};

// A failure that got past every guard still ends only its event, not the program.
class TGuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& failure) {
            if (::Application) {
                ::Application->HandleException(failure);
            }
            return false;
        }
    }
};

// Holds the user's input to the program's windows while a command runs, to hand it on in the
// order given once the wait is over. It is taken where the window system hands it to a window,
// before a widget sees it; an assistive tool's action, where it is posted to its widget. Qt's own
// way, ExcludeUserInputEvents, would hold the window's close request as well, which must be
// answered at once.
class TInputHold : public QObject {
public:
    bool eventFilter(QObject* target, QEvent* event) override {
        const bool input = target->isWindowType() && IsUserInput(event->type());
        if (!input && event->type() != TAccessibleActionEvent::EventType()) {
            return false;
        }
        Held.emplace_back(target, event->clone());
        return true;
    }

    // Posts what was held to its windows, in order, for the next ProcessMessages.
    void Release() {
        for (auto& [target, event] : Held) {
            if (target) {
                QCoreApplication::postEvent(target, event.release());
            }
        }
        Held.clear();
    }

private:
    static bool IsUserInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
        }
    }

    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> Held;
};

} // namespace

struct TApplicationImpl {
    std::unique_ptr<QApplication> Own;
    // The loop of the WaitForProcessEnd under way.
    QEventLoop* Waiting = nullptr;
};

void TApplication::TImplDeleter::operator()(TApplicationImpl* impl) const {
    std::default_delete<TApplicationImpl>()(impl);
}

TApplication::TApplication(int& argc, char** argv) : Impl(new TApplicationImpl) {
    if (QApplication::instance() == nullptr) {
        // Qt's accessibility bridge, made with the first control, and the launcher progress
        // wait for the session bus's answer without end. Without a bus that answers soon the
        // program starts without both, as where there is no bus; so do what it starts.
        if (SessionBusSilent(SessionBusPatience)) {
            qputenv("DBUS_SESSION_BUS_ADDRESS", "");
        }
        Impl->Own = std::make_unique<TGuardedApplication>(argc, argv);
    }
    ::Application = this;
}

void TApplication::Initialize() {
    QFont::insertSubstitutions(FromUtf8(JapaneseUiFont), JapaneseUiSubstitutes);
    // The program's icon, one picture a size in the executable's resource folder
    // :/program-icon/, for the title bar and the task bar; a program without one (a test)
    // keeps the desktop's.
    QIcon icon;
    for (const QFileInfo& picture : QDir(":/program-icon").entryInfoList(QDir::Files)) {
        icon.addFile(picture.filePath());
    }
    if (!icon.isNull()) {
        QApplication::setWindowIcon(icon);
    }
}

void TApplication::Run() {
    if (TForm* main = MainForm()) {
        main->Show();
        QApplication::exec();
    }
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The process's descriptor becomes readable when it has ended.
void TApplication::WaitForProcessEnd(TProcessHandle process) {
    QSocketNotifier ended(static_cast<qintptr>(process), QSocketNotifier::Read);
    QEventLoop loop;
    QObject::connect(&ended, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    TInputHold hold;
    QCoreApplication::instance()->installEventFilter(&hold);
    QEventLoop* const outer = std::exchange(Impl->Waiting, &loop);
    loop.exec();
    Impl->Waiting = outer;
    QCoreApplication::instance()->removeEventFilter(&hold);
    hold.Release();
}

void TApplication::InterruptWait() {
    if (Impl->Waiting != nullptr) {
        Impl->Waiting->quit();
    }
}
