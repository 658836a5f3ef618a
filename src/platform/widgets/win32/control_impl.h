#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/widgets/control.h"
#include "platform/widgets/types.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <functional>
#include <string>
#include <vector>

// Handles one message; true when it did, with the message's result in result.
using TMessageHandler =
    std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

// The window behind a control. It follows the control's life, except for a list box, whose
// window comes and goes with CreateWnd and DestroyWnd.
struct TControlImpl {
    TControlImpl() = default;
    virtual ~TControlImpl();
    TControlImpl(const TControlImpl&) = delete;
    TControlImpl& operator=(const TControlImpl&) = delete;

    // Makes the window of a system or layer window class and routes its messages through
    // OnMessage and OnNotify. A control without parent window gets parent null.
    void CreateHandle(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent);
    // Makes the windows of this control and of the controls inside it that make theirs later,
    // as a window needs them once it shows.
    void HandlesNeeded();

    HWND Handle = nullptr;
    // Kept also while there is no window, for the window made later.
    TRect Bounds;
    bool Enabled = true;
    HFONT Font = nullptr; // none: the system's default font
    std::string Text;     // as the program set it

    // Messages to the control's own window, before its class sees them.
    TMessageHandler OnMessage;
    // What the control's window tells its parent about itself (WM_COMMAND, WM_DRAWITEM): the
    // parent hands it back to the control.
    TMessageHandler OnNotify;
    WNDPROC ClassProc = nullptr;
    // The controls inside this one, in the order they were made.
    std::vector<TControlImpl*> Children;

protected:
    // A control whose window is made later makes it here.
    virtual void HandleNeeded() {}
};

// The window behind a control; none while it has no window.
inline HWND WindowOf(const TControl& control) {
    return control.Impl().Handle;
}
// The window that a new child of parent goes into.
HWND ParentWindow(const TControl* parent);

// A font of the program's windows, made once and kept; font's empty fields come from base.
HFONT FontHandle(const TFont& font, HFONT base);

// Window classes of the layer itself.
inline constexpr const wchar_t* FormClassName = L"AllVornaxelCheckForm";
inline constexpr const wchar_t* PanelClassName = L"AllVornaxelCheckPanel";
void RegisterWindowClasses();

inline RECT ToRECT(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}
inline TRect ToTRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
