#include "platform/widgets/application.h"

#include "platform/widgets/form.h"
#include "platform/widgets/win32/application_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <commctrl.h>

#include <vector>

namespace {
bool Running = false;
bool Terminated = false;
// Set by InterruptWait for the WaitForProcessEnd under way.
bool WaitInterrupted = false;

// Takes from the held input a request to close a window, the caption's Close box or Alt+F4, and
// hands it on as the system would; the rest of the input stays in order in the queue. An Alt
// alone before F4 is dropped with it: with no menu bar it does nothing.
void AnswerCloseRequest() {
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_NOREMOVE) &&
        message.wParam == HTCLOSE) {
        PeekMessageA(&message, message.hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
        SendMessageA(GetAncestor(message.hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    while (PeekMessageA(&message, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
           (message.wParam == VK_MENU || message.wParam == VK_F4)) {
        PeekMessageA(&message, message.hwnd, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
        if (message.wParam == VK_F4) {
            SendMessageA(GetAncestor(message.hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        }
    }
}
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
// in the queue for the next ProcessMessages, but for a request to close, and so do assistive
// tools' actions, posted again once the wait is over. Only input that is new
// since the last look wakes the wait, which would otherwise spin on what it leaves queued.
void TApplication::WaitForProcessEnd(TProcessHandle process) {
    HANDLE ended = reinterpret_cast<HANDLE>(process);
    const DWORD wakeFor =
        QS_SENDMESSAGE | QS_PAINT | QS_POSTMESSAGE | QS_TIMER | QS_HOTKEY | QS_MOUSEBUTTON | QS_KEY;
    WaitInterrupted = false;
    std::vector<MSG> actions;
    while (!WaitInterrupted) {
        MSG message;
        while (!WaitInterrupted &&
               PeekMessageA(&message, nullptr, 0, 0,
                            PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
            if (message.message == WM_QUIT) {
                Terminated = true;
                continue;
            }
            if (message.message == WM_ACCESSIBLEACTION) {
                actions.push_back(message);
                continue;
            }
            DeliverMessage(message);
        }
        AnswerCloseRequest();
        // Its look at the queue counts as a look: what came just before it would not wake the
        // wait, and a timer or a tool's call would wait for the process.
        if (WaitInterrupted ||
            PeekMessageA(&message, nullptr, 0, 0,
                         PM_NOREMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
            continue;
        }
        if (MsgWaitForMultipleObjectsEx(1, &ended, INFINITE, wakeFor, 0) == WAIT_OBJECT_0) {
            break;
        }
    }
    WaitInterrupted = false;
    for (const MSG& action : actions) {
        PostMessageW(action.hwnd, action.message, action.wParam, action.lParam);
    }
}

void TApplication::InterruptWait() {
    WaitInterrupted = true;
}
