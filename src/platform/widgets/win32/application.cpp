#include "platform/widgets/application.h"

#include "platform/widgets/form.h"
#include "platform/widgets/win32/application_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <commctrl.h>

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

void TApplication::TImplDeleter::operator()(TApplicationImpl* impl) const {
    std::default_delete<TApplicationImpl>()(impl);
}

TApplication::TApplication(int& /*argc*/, char** /*argv*/) : Impl(new TApplicationImpl) {
    // The system's controls in the look that the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClasses();
    ::Application = this;
}

void TApplication::Initialize() {}

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

// Sent messages, paints, posted messages and timers are handled; keyboard and mouse input stays
// in the queue and does not wake the wait, which would otherwise spin on it.
void TApplication::WaitForProcessEnd(TProcessHandle process) {
    HANDLE ended = reinterpret_cast<HANDLE>(process);
    const DWORD wakeFor = QS_SENDMESSAGE | QS_PAINT | QS_POSTMESSAGE | QS_TIMER | QS_HOTKEY;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0,
                            PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
            if (message.message == WM_QUIT) {
                Terminated = true;
                continue;
            }
            DeliverMessage(message);
        }
        if (MsgWaitForMultipleObjectsEx(1, &ended, INFINITE, wakeFor, MWMO_INPUTAVAILABLE) ==
            WAIT_OBJECT_0) {
            return;
        }
    }
}
