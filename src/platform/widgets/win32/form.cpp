#include "platform/widgets/form.h"

#include "platform/widgets/application.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/application_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <vector>

struct TFormAccess {
    static bool CloseAllowed(const TForm& form) { return form.CloseAllowed; }
    static bool SessionEndAllowed(const TForm& form) {
        return form.CloseAllowed && !form.SessionEndRefused;
    }
    static TControl* Active(const TForm& form) { return form.Active; }
};

namespace {

const DWORD SizeableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
const DWORD SizeableExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
// A dialog frame: a caption with the Close command only, no sizing border.
const DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD DialogExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME;

// The program's messages are the system's from WM_USER + 1 up: dialog navigation sends
// DM_GETDEFID, WM_USER itself, to a window.
UINT SystemMessage(unsigned msg) {
    return WM_USER + msg;
}

struct TFormImpl : TControlImpl {
    std::vector<const TControl*> FocusChain;
    THeldMessages Held;
    bool Placed = false;
    HWND LastFocus = nullptr; // the control that had the focus when the window went inactive
};

TFormImpl& FormImpl(const TForm& form) {
    return static_cast<TFormImpl&>(form.Impl());
}

// Sizes the window for a client area of the size of bounds, in the pixels of its DPI.
void SetClientRect(const TControlImpl& impl) {
    HWND window = impl.Handle;
    RECT frame{0, 0, ToPixels(impl.Bounds.Width(), impl.Dpi),
               ToPixels(impl.Bounds.Height(), impl.Dpi)};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), impl.Dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void FocusControl(TForm& form, TFormImpl& impl) {
    HWND target = impl.LastFocus;
    if (target == nullptr || !IsWindow(target) || !IsChild(impl.Handle, target)) {
        TControl* active = TFormAccess::Active(form);
        target = active ? WindowOf(*active) : nullptr;
    }
    if (target == nullptr || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(impl.Handle, nullptr, FALSE);
    }
    if (target) {
        SetFocus(target);
    }
}

// The screen point where a popup menu opens: the mouse's point, or for the keyboard's menu
// key the top left of the control that has the focus.
POINT MenuPoint(HWND window, LPARAM lParam) {
    if (lParam != -1) {
        return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    }
    HWND focus = GetFocus();
    POINT point{0, 0};
    ClientToScreen(focus && IsChild(window, focus) ? focus : window, &point);
    return point;
}

bool HandleFormMessage(TForm& form, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    TFormImpl& impl = FormImpl(form);
    result = 0;
    switch (msg) {
    case WM_CLOSE:
        if (TFormAccess::CloseAllowed(form) && (!form.OnCloseQuery || form.OnCloseQuery())) {
            ShowWindow(impl.Handle, SW_HIDE);
            if (::Application && ::Application->MainForm() == &form) {
                EndRun();
            }
        }
        return true;
    case WM_QUERYENDSESSION:
        // Refused with the reason that SetCloseCommandEnabled or RefuseSessionEnd gave the
        // system.
        result = TFormAccess::SessionEndAllowed(form) ? TRUE : FALSE;
        return true;
    case WM_SYSCOMMAND:
        // The greyed Close command refuses the Close box and Alt+F4 as well.
        return (wParam & 0xFFF0) == SC_CLOSE && !TFormAccess::CloseAllowed(form);
    case WM_COMMAND:
        // Escape and Enter without a focused button: no command of this window.
        return lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL);
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            impl.LastFocus = IsChild(impl.Handle, focus) ? focus : impl.LastFocus;
        } else if (!HIWORD(wParam)) {
            FocusControl(form, impl);
        }
        return true;
    case WM_CONTEXTMENU:
        if (TPopupMenu* menu = form.AssignedPopupMenu()) {
            const POINT at = MenuPoint(impl.Handle, lParam);
            menu->Popup(at.x, at.y);
            return true;
        }
        return false;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the window takes the place that the system
        // suggests, and everything inside it the sizes of its units there.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(impl.Handle, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        impl.ChangeDpi(LOWORD(wParam));
        RedrawWindow(impl.Handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return true;
    }
    case DM_GETDEFID:
        return true; // no default button
    default:
        if (msg <= WM_USER || msg >= WM_APP) {
            return false;
        }
        impl.Held.Deliver(form, TMessage{msg - WM_USER});
        return true;
    }
}

// The window among window's children that holds control.
HWND ChildHolding(HWND window, HWND control) {
    while (control && GetParent(control) != window) {
        control = GetParent(control);
    }
    return control;
}

// Tab follows the order of the windows: each control is put right behind the one before it,
// or where they lie in different panels, the panel that holds it behind the one that holds
// the other. Controls without a window yet are left for the next time.
void ApplyFocusChain(const TFormImpl& impl) {
    HWND previous = nullptr;
    for (const TControl* control : impl.FocusChain) {
        HWND current = WindowOf(*control);
        if (previous && current) {
            HWND after = previous, moved = current;
            for (HWND parent = GetParent(moved); parent && !IsChild(parent, after);
                 parent = GetParent(parent)) {
                moved = parent;
            }
            after = ChildHolding(GetParent(moved), after);
            if (after && after != moved) {
                SetWindowPos(moved, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
        previous = current;
    }
}

} // namespace

TForm::TForm() : TControl(nullptr, std::make_unique<TFormImpl>()) {
    TFormImpl& impl = FormImpl(*this);
    impl.CreateHandle(FormClassName, SizeableStyle, SizeableExStyle, nullptr);
    impl.OnMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return HandleFormMessage(*this, msg, wParam, lParam, result);
    };
}

TForm::~TForm() = default;

void TForm::SetClientSize(int width, int height) {
    TControlImpl& impl = Impl();
    impl.Bounds.Right = impl.Bounds.Left + width;
    impl.Bounds.Bottom = impl.Bounds.Top + height;
    SetClientRect(impl);
}

void TForm::SetBorderStyle(TBorderStyle style) {
    TControlImpl& impl = Impl();
    const bool dialog = style == TBorderStyle::Dialog;
    SetWindowLongPtrW(impl.Handle, GWL_STYLE, dialog ? DialogStyle : SizeableStyle);
    SetWindowLongPtrW(impl.Handle, GWL_EXSTYLE, dialog ? DialogExStyle : SizeableExStyle);
    SetClientRect(impl);
}

void TForm::SetFocusChain(std::initializer_list<TControl*> chain) {
    FormImpl(*this).FocusChain.assign(chain.begin(), chain.end());
    ApplyFocusChain(FormImpl(*this));
}

void TForm::Show() {
    TFormImpl& impl = FormImpl(*this);
    if (Placement == TPosition::ScreenCenter && !impl.Placed) {
        RECT frame;
        GetWindowRect(impl.Handle, &frame);
        SetWindowPos(impl.Handle, nullptr,
                     (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    impl.Placed = true;
    impl.HandlesNeeded();
    ApplyFocusChain(impl);
    ShowWindow(impl.Handle, SW_SHOWNORMAL);
    // Painted at once, window and controls, so that what was posted meanwhile may follow.
    RedrawWindow(impl.Handle, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (const TMessage& message : impl.Held.Painted()) {
        PostMessageA(impl.Handle, SystemMessage(message.Msg), 0, 0);
    }
}

void TForm::Close() {
    SendMessageW(Impl().Handle, WM_CLOSE, 0, 0);
}

void TForm::SetCloseCommandEnabled(bool enabled, const std::string& reason) {
    CloseAllowed = enabled;
    HWND window = Impl().Handle;
    if (enabled) {
        ShutdownBlockReasonDestroy(window);
    } else {
        ShutdownBlockReasonCreate(window, AnsiText(reason).c_str());
    }
    EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE,
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    // The Close box of the caption follows the menu item.
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TForm::RefuseSessionEnd(const std::string& reason) {
    SessionEndRefused = !reason.empty();
    if (SessionEndRefused) {
        ShutdownBlockReasonCreate(Impl().Handle, AnsiText(reason).c_str());
    } else if (CloseAllowed) {
        ShutdownBlockReasonDestroy(Impl().Handle);
    }
}

void TForm::Post(unsigned msg) {
    PostMessageA(Impl().Handle, SystemMessage(msg), 0, 0);
}
