#include "platform/widgets/std_controls.h"

#include "platform/widgets/application.h"
#include "platform/widgets/win32/control_impl.h"

namespace {

const DWORD ChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// A control whose window is made at once as a child of parent's.
std::unique_ptr<TControlImpl> ChildWindow(const TControl* parent, const wchar_t* className,
                                          DWORD style, DWORD exStyle = 0) {
    auto impl = std::make_unique<TControlImpl>();
    if (parent) {
        impl->FontSpec = parent->Impl().FontSpec;
    }
    impl->CreateHandle(className, ChildStyle | style, exStyle, ParentWindow(parent));
    return impl;
}

} // namespace

// Dialog navigation looks for Tab stops and accelerators inside the panel too.
TPanel::TPanel(TControl* parent)
    : TControl(parent, ChildWindow(parent, PanelClassName, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT)) {}

// A path in the status line shows its "&" as it stands. A new text is painted with the
// window's next paint, as Update asks for it, rather than at once by the system's control.
TLabel::TLabel(TControl* parent)
    : TControl(parent, ChildWindow(parent, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX)) {
    Impl().OnMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (msg != WM_SETTEXT) {
            return false;
        }
        result = DefWindowProcW(Impl().Handle, msg, wParam, lParam);
        InvalidateRect(Impl().Handle, nullptr, TRUE);
        return true;
    };
}

std::string TLabel::Text() const {
    return TControl::Text();
}

void TLabel::SetText(std::string_view text) {
    TControl::SetText(text);
}

TButton::TButton(TControl* parent)
    : TControl(parent, ChildWindow(parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP)) {
    Impl().OnNotify = [this](UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
        if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
            return false;
        }
        if (OnClick) {
            GuardedCall([this] { OnClick(this); });
        }
        result = 0;
        return true;
    };
}

std::string TButton::Text() const {
    return TControl::Text();
}

void TButton::SetText(std::string_view text) {
    TControl::SetText(text);
}
