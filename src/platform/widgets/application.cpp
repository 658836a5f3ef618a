// What every toolkit shares of the application object; the toolkit's half is in qt/application.cpp
// and win32/application.cpp.
#include "platform/widgets/application.h"

#include "platform/widgets/dialogs.h"
#include "platform/widgets/form.h"

TApplication* Application = nullptr;

TApplication::~TApplication() {
    DestroyForms();
    if (::Application == this) {
        ::Application = nullptr;
    }
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    TForm* made = form.get();
    Forms.push_back(std::move(form));
    if (made->OnCreate) {
        Guard([made] { made->OnCreate(made); });
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
