#include "platform/widgets/control.h"

#include "platform/widgets/application.h"
#include "platform/widgets/win32/control_impl.h"

#include <map>
#include <tuple>

namespace {

TControlImpl* ImplOf(HWND window) {
    return reinterpret_cast<TControlImpl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The control whose window sent the parent this notification, if it is one of ours.
TControlImpl* NotifyingControl(UINT msg, LPARAM lParam) {
    HWND child = nullptr;
    if (msg == WM_COMMAND) {
        child = reinterpret_cast<HWND>(lParam);
    } else if (msg == WM_DRAWITEM) {
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    }
    return child ? ImplOf(child) : nullptr;
}

// Every window of the layer has this procedure: the control's handlers first, then its class.
LRESULT CALLBACK ControlProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TControlImpl* impl = ImplOf(window);
    if (impl == nullptr) {
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    const WNDPROC classProc = impl->ClassProc;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        impl->Handle = nullptr;
        return CallWindowProcW(classProc, window, msg, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = false;
    // No failure may unwind through the system's code: it is shown, and the message counts
    // as handled.
    GuardedCall([&] {
        handled = true;
        TControlImpl* child = NotifyingControl(msg, lParam);
        if (!(child && child->OnNotify && child->OnNotify(msg, wParam, lParam, result)) &&
            !(impl->OnMessage && impl->OnMessage(msg, wParam, lParam, result))) {
            handled = false;
        }
    });
    return handled ? result : CallWindowProcW(classProc, window, msg, wParam, lParam);
}

} // namespace

TControlImpl::~TControlImpl() {
    if (Handle) {
        DestroyWindow(Handle);
    }
}

void TControlImpl::CreateHandle(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
    static int nextId = 100; // above the identifiers that dialog navigation sends (IDOK, ...)
    RegisterWindowClasses();
    // A child is shown at its top-level window's DPI; a window of its own at its monitor's.
    const TControlImpl* parentImpl = parent && parent != HWND_MESSAGE ? ImplOf(parent) : nullptr;
    if (parentImpl) {
        Dpi = parentImpl->Dpi;
    }
    HMENU id =
        (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)) : nullptr;
    const RECT frame = ToPixels(Bounds, Dpi);
    Handle = CreateWindowExW(exStyle, className, AnsiText(Text).c_str(), style, frame.left,
                             frame.top, frame.right - frame.left, frame.bottom - frame.top, parent,
                             id, GetModuleHandleW(nullptr), nullptr);
    if (Handle == nullptr) {
        return;
    }
    if (parentImpl == nullptr) {
        Dpi = WindowDpi(Handle);
    }
    SetWindowLongPtrW(Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ClassProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
    if (FontSpec) {
        SendMessageW(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    }
    EnableWindow(Handle, Enabled);
}

void TControlImpl::HandlesNeeded() {
    HandleNeeded();
    for (TControlImpl* child : Children) {
        child->HandlesNeeded();
    }
}

HFONT TControlImpl::FontHandle() const {
    return ::FontHandle(FontSpec.value_or(TFont{}), Dpi);
}

void TControlImpl::PlaceChildWindow() {
    const RECT frame = ToPixels(Bounds, Dpi);
    MoveWindow(Handle, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               TRUE);
}

void TControlImpl::ChangeDpi(UINT dpi) {
    Dpi = dpi;
    if (Handle) {
        if (FontSpec) {
            SendMessageW(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
        }
        if (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_CHILD) {
            PlaceChildWindow();
        }
    }
    for (TControlImpl* child : Children) {
        child->ChangeDpi(dpi);
    }
    DpiChanged();
}

HWND ParentWindow(const TControl* parent) {
    return parent ? WindowOf(*parent) : nullptr;
}

TFont MergedFont(const TFont& own, const TFont& base) {
    return {own.Name.empty() ? base.Name : own.Name,
            own.PixelHeight > 0 ? own.PixelHeight : base.PixelHeight};
}

HFONT FontHandle(const TFont& font, UINT dpi) {
    static std::map<std::tuple<std::string, int, UINT>, HFONT> made;
    auto* desktop = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (font == TFont{} && dpi == SystemDpi()) {
        return desktop;
    }
    HFONT& handle = made[{font.Name, font.PixelHeight, dpi}];
    if (handle == nullptr) {
        LOGFONTW logFont{};
        GetObjectW(desktop, sizeof logFont, &logFont);
        // The desktop's font is made for the system's DPI.
        logFont.lfHeight =
            MulDiv(logFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
        if (!font.Name.empty()) {
            const std::wstring face = AnsiText(font.Name);
            lstrcpynW(logFont.lfFaceName, face.c_str(), LF_FACESIZE);
        }
        if (font.PixelHeight > 0) {
            // Negative: the height of the characters.
            logFont.lfHeight = -ToPixels(font.PixelHeight, dpi);
            logFont.lfWidth = 0;
        }
        if (font != TFont{}) {
            // Every text of the program is Japanese.
            logFont.lfCharSet = SHIFTJIS_CHARSET;
        }
        handle = CreateFontIndirectW(&logFont);
    }
    return handle;
}

void RegisterWindowClasses() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = PanelClassName;
        RegisterClassExW(&windowClass);
        // A form shows the program's icon, the executable's icon resource 1, in its title bar
        // and on the task bar (the small one chosen from the same resource); a program without
        // one, such as a test, gets the system's.
        windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
        windowClass.lpszClassName = FormClassName;
        RegisterClassExW(&windowClass);
        return true;
    }();
    (void)registered;
}

TControl::TControl(TControl* parent, std::unique_ptr<TControlImpl> impl)
    : ParentControl(parent), ImplPtr(std::move(impl)) {
    if (parent) {
        ImplPtr->FontSpec = parent->Impl().FontSpec;
        ImplPtr->Dpi = parent->Impl().Dpi;
        parent->Impl().Children.push_back(ImplPtr.get());
    }
}

TControl::~TControl() {
    if (ParentControl) {
        std::erase(ParentControl->Impl().Children, ImplPtr.get());
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    TControlImpl& impl = *ImplPtr;
    impl.Bounds = {left, top, left + width, top + height};
    if (impl.Handle == nullptr) {
        return;
    }
    if (ParentControl) {
        impl.PlaceChildWindow();
        return;
    }
    // A window: the bounds are those of its client area.
    RECT frame = ToPixels(impl.Bounds, impl.Dpi);
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(impl.Handle, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrW(impl.Handle, GWL_EXSTYLE)),
                           impl.Dpi);
    MoveWindow(impl.Handle, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, TRUE);
}

TRect TControl::BoundsRect() const {
    const TControlImpl& impl = *ImplPtr;
    if (impl.Handle == nullptr) {
        return impl.Bounds;
    }
    RECT rect;
    if (ParentControl == nullptr) {
        // A window's size in units, wherever on the screen it lies.
        GetClientRect(impl.Handle, &rect);
        POINT origin{0, 0};
        ClientToScreen(impl.Handle, &origin);
        const int left = ToUnits(origin.x, impl.Dpi), top = ToUnits(origin.y, impl.Dpi);
        return {left, top, left + ToUnits(rect.right, impl.Dpi),
                top + ToUnits(rect.bottom, impl.Dpi)};
    }
    GetWindowRect(impl.Handle, &rect);
    MapWindowPoints(nullptr, GetParent(impl.Handle), reinterpret_cast<POINT*>(&rect), 2);
    return ToUnits(rect, impl.Dpi);
}

bool TControl::Enabled() const {
    return ImplPtr->Handle ? IsWindowEnabled(ImplPtr->Handle) != FALSE : ImplPtr->Enabled;
}

void TControl::SetEnabled(bool enabled) {
    TControlImpl& impl = *ImplPtr;
    impl.Enabled = enabled;
    if (impl.Handle == nullptr) {
        return;
    }
    // A disabled window takes no input: the focus moves on as Tab would move it.
    if (!enabled && GetFocus() == impl.Handle) {
        HWND root = GetAncestor(impl.Handle, GA_ROOT);
        EnableWindow(impl.Handle, FALSE);
        ::SetFocus(GetNextDlgTabItem(root, impl.Handle, FALSE));
        return;
    }
    EnableWindow(impl.Handle, enabled);
}

std::string TControl::Text() const {
    return ImplPtr->Text;
}

void TControl::SetText(std::string_view text) {
    ImplPtr->Text = std::string(text);
    if (ImplPtr->Handle) {
        SetWindowTextW(ImplPtr->Handle, AnsiText(text).c_str());
    }
}

void TControl::SetFocus() {
    if (ImplPtr->Handle) {
        ::SetFocus(ImplPtr->Handle);
    }
}

void TControl::SetFont(const TFont& font) {
    CurrentFont = font;
    TControlImpl& impl = *ImplPtr;
    impl.FontSpec = MergedFont(
        font, ParentControl ? ParentControl->Impl().FontSpec.value_or(TFont{}) : TFont{});
    if (impl.Handle) {
        SendMessageW(impl.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(impl.FontHandle()), TRUE);
    }
    CMFontChanged();
}

void TControl::Update() {
    if (ImplPtr->Handle) {
        UpdateWindow(ImplPtr->Handle);
        // Painted is not yet on the screen: Wine copies a window's picture to the display only
        // when the thread next waits for messages, and a long piece of work that follows an
        // update, such as a checker, waits for anything but messages. An empty wait for
        // messages is that moment.
        MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_PAINT, MWMO_INPUTAVAILABLE);
    }
}
