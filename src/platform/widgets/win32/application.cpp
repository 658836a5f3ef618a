#include "platform/widgets/application.h"

#include "platform/widgets/dialogs.h"
#include "platform/widgets/form.h"
#include "platform/widgets/win32/application_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <commctrl.h>

TApplication* Application = nullptr;

namespace {
bool Running = false;
bool Terminated = false;
} // namespace

struct TApplicationImpl {};

void EndRun() {
    if (Running) {
        PostQuitMessage(0);
    }
}

void DeliverMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageA(root, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

TApplication::TApplication(int& /*argc*/, char** /*argv*/)
    : Impl(std::make_unique<TApplicationImpl>()) {
    // The system's controls in the look that the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClasses();
    ::Application = this;
}

TApplication::~TApplication() {
    DestroyForms();
    if (::Application == this) {
        ::Application = nullptr;
    }
}

void TApplication::Initialize() {}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    TForm* made = form.get();
    Forms.push_back(std::move(form));
    if (made->OnCreate) {
        Guard([made] { made->OnCreate(made); });
    }
}

void TApplication::Run() {
    TForm* main = MainForm();
    if (main == nullptr) {
        return;
    }
    main->Show();
    Running = true;
    MSG message;
    while (!Terminated && GetMessageA(&message, nullptr, 0, 0) > 0) {
        DeliverMessage(message);
    }
    Running = false;
}

void TApplication::ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            Terminated = true;
            break;
        }
        DeliverMessage(message);
    }
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
