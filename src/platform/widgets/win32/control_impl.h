#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/widgets/control.h"
#include "platform/widgets/types.h"
#include "platform/widgets/win32/dpi.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <functional>
#include <optional>
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
    // The font that FontSpec names at the window's DPI.
    HFONT FontHandle() const;
    // Moves a child window to Bounds, in the pixels of its DPI.
    void PlaceChildWindow();
    // The top-level window has moved to dpi: this control and those inside it take the fonts
    // and positions of their units at it.
    void ChangeDpi(UINT dpi);

    HWND Handle = nullptr;
    // In 96-DPI units; kept also while there is no window, for the window made later.
    TRect Bounds;
    bool Enabled = true;
    // The font as the program gave it, each empty field taken from the parent's font; none
    // leaves the window its class's default font.
    std::optional<TFont> FontSpec;
    // The DPI of the control's top-level window, which its sizes are shown at.
    UINT Dpi = DesignDpi;
    std::string Text; // as the program set it

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
    // Called once the control has taken a new DPI.
    virtual void DpiChanged() {}
};

// The window behind a control; none while it has no window.
inline HWND WindowOf(const TControl& control) {
    return control.Impl().Handle;
}
// The window that a new child of parent goes into.
HWND ParentWindow(const TControl* parent);

// The font that own names, its empty fields taken from base.
TFont MergedFont(const TFont& own, const TFont& base);
// A font of the program's windows at dpi, made once and kept: the desktop's font for dialogs
// with font's name and height where it gives them (in 96-DPI units), for Japanese text.
HFONT FontHandle(const TFont& font, UINT dpi);

// Window classes of the layer itself.
inline constexpr const wchar_t* FormClassName = L"AllVornaxelCheckForm";
inline constexpr const wchar_t* PanelClassName = L"AllVornaxelCheckPanel";
void RegisterWindowClasses();
