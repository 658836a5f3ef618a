#include "platform/widgets/application.h"

#include "platform/widgets/dialogs.h"
#include "platform/widgets/form.h"
#include "platform/widgets/qt/control_impl.h"

#include <QApplication>
#include <QFont>

TApplication* Application = nullptr;

namespace {

// The window font that the program asks for is not found on Linux; these Japanese gothic
// faces draw its half-width katakana well.
const char* const JapaneseUiFont = "ＭＳ Ｐゴシック";
const QStringList JapaneseUiSubstitutes = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP",
                                           "VL PGothic", "TakaoPGothic"};

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

} // namespace

struct TApplicationImpl {
    std::unique_ptr<QApplication> Own;
};

TApplication::TApplication(int& argc, char** argv) : Impl(std::make_unique<TApplicationImpl>()) {
    if (QApplication::instance() == nullptr) {
        Impl->Own = std::make_unique<TGuardedApplication>(argc, argv);
    }
    ::Application = this;
}

TApplication::~TApplication() {
    DestroyForms();
    if (::Application == this) {
        ::Application = nullptr;
    }
}

void TApplication::Initialize() {
    QFont::insertSubstitutions(FromUtf8(JapaneseUiFont), JapaneseUiSubstitutes);
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    TForm* made = form.get();
    Forms.push_back(std::move(form));
    if (made->OnCreate) {
        Guard([made] { made->OnCreate(made); });
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

void TApplication::HandleException(const std::exception& failure) {
    ShowErrorMessage(failure.what());
}

void TApplication::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        HandleException(failure);
    }
}

void TApplication::DestroyForms() {
    while (!Forms.empty()) {
        std::unique_ptr<TForm> form = std::move(Forms.back());
        Forms.pop_back();
        if (form->OnDestroy) {
            Guard([&form] { form->OnDestroy(form.get()); });
        }
    }
}

void GuardedCall(const std::function<void()>& handler) {
    if (::Application) {
        ::Application->Guard(handler);
    } else {
        handler();
    }
}
