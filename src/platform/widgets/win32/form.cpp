#include "platform/widgets/form.h"

#include "platform/widgets/application.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/application_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <algorithm>
#include <optional>
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

RECT WorkArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

// What the frame adds to the client area at dpi, the monitor's.
SIZE FrameSize(HWND window, UINT dpi) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The DPI that a window's units are shown at on a monitor of dpi: the monitor's own, or where
// the window would not fit in the monitor's work area there, frame and all, the largest that
// fits, so that no control lies out of reach; never below the design's own.
UINT FittingDpi(const TRect& units, SIZE frame, UINT dpi, const RECT& workArea) {
    UINT fitting = dpi;
    const auto fit = [&](int size, int room) {
        if (size > 0) {
            fitting = std::min(fitting, static_cast<UINT>(std::max(room, 0)) * DesignDpi /
                                            static_cast<UINT>(size));
        }
    };
    fit(units.Width(), workArea.right - workArea.left - frame.cx);
    fit(units.Height(), workArea.bottom - workArea.top - frame.cy);
    return std::max(fitting, std::min(dpi, DesignDpi));
}

// Sizes and places the window for a client area of the size of its bounds in the pixels of
// its DPI. The frame is measured as it turns out: under Wine it keeps the system's DPI.
void PlaceClientArea(const TControlImpl& impl, SIZE frame, std::optional<POINT> at) {
    HWND window = impl.Handle;
    const int width = ToPixels(impl.Bounds.Width(), impl.Dpi),
              height = ToPixels(impl.Bounds.Height(), impl.Dpi);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE);
    const POINT place = at.value_or(POINT{0, 0});
    SetWindowPos(window, nullptr, place.x, place.y, width + frame.cx, height + frame.cy,
                 flags | SWP_FRAMECHANGED);
    RECT client{};
    GetClientRect(window, &client);
    if (!IsIconic(window) && (client.right != width || client.bottom != height)) {
        SetWindowPos(window, nullptr, 0, 0, width + frame.cx + width - client.right,
                     height + frame.cy + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Moves the window as little as it takes to lie inside the work area, its top left first.
void KeepInside(HWND window, const RECT& workArea) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const LONG left =
        std::max(workArea.left, std::min(frame.left, workArea.right - (frame.right - frame.left)));
    const LONG top =
        std::max(workArea.top, std::min(frame.top, workArea.bottom - (frame.bottom - frame.top)));
    if (left != frame.left || top != frame.top) {
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Sizes the window for a client area of the size of its bounds, at the DPI at which it fits
// on its monitor.
void SetClientRect(TControlImpl& impl) {
    HWND window = impl.Handle;
    const UINT dpi = WindowDpi(window);
    const SIZE frame = FrameSize(window, dpi);
    const UINT shown = FittingDpi(impl.Bounds, frame, dpi,
                                  WorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)));
    if (shown != impl.Dpi) {
        impl.ChangeDpi(shown);
    }
    PlaceClientArea(impl, frame, std::nullopt);
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
        // Moved to a monitor of another scale: everything inside the window takes the sizes of
        // its units there, or where it would not fit, at the largest scale that fits.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        const UINT dpi = LOWORD(wParam);
        const RECT workArea = WorkArea(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST));
        const SIZE frame = FrameSize(impl.Handle, dpi);
        const UINT shown = FittingDpi(impl.Bounds, frame, dpi, workArea);
        impl.ChangeDpi(shown);
        // Where the system suggests; made smaller to fit, the window is kept on the monitor.
        PlaceClientArea(impl, frame, POINT{suggested.left, suggested.top});
        if (shown != dpi) {
            KeepInside(impl.Handle, workArea);
        }
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
    if (!impl.Placed) {
        const RECT workArea = WorkArea(MonitorFromWindow(impl.Handle, MONITOR_DEFAULTTOPRIMARY));
        if (Placement == TPosition::ScreenCenter) {
            RECT frame;
            GetWindowRect(impl.Handle, &frame);
            SetWindowPos(impl.Handle, nullptr,
                         (workArea.left + workArea.right - (frame.right - frame.left)) / 2,
                         (workArea.top + workArea.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        KeepInside(impl.Handle, workArea);
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
