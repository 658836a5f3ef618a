#include "support/gui_driver.h"

#include "platform/widgets/application.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/win32/canvas_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <oleacc.h>

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// Input arrives as the messages the system would post for it, through the program's own
// message loop, so that dialog navigation and the windows' procedures see what they see for
// a user.

namespace {

void Post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(window, msg, wParam, lParam);
}

UINT VirtualKey(TKey key) {
    switch (key) {
    case TKey::Space:
        return VK_SPACE;
    case TKey::Tab:
        return VK_TAB;
    case TKey::Escape:
        return VK_ESCAPE;
    case TKey::Enter:
        return VK_RETURN;
    case TKey::Up:
        return VK_UP;
    case TKey::Down:
        return VK_DOWN;
    case TKey::Right:
        return VK_RIGHT;
    case TKey::PageUp:
        return VK_PRIOR;
    case TKey::Home:
        return VK_HOME;
    case TKey::End:
        return VK_END;
    case TKey::F4:
        return VK_F4;
    }
    return 0;
}

// A key's press and release; with Alt held they are system keys, as the system makes them.
void PostKey(HWND window, UINT virtualKey, bool alt) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, 0)) << 16;
    const LPARAM altBit = alt ? LPARAM{1} << 29 : 0;
    Post(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | scan | altBit);
    Post(window, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 1 | scan | altBit | (LPARAM{3} << 30));
}

std::map<UINT_PTR, std::function<void()>>& Soon() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

void CALLBACK RunAction(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto found = Soon().find(timer);
    if (found != Soon().end()) {
        std::function<void()> action = std::move(found->second);
        Soon().erase(found);
        action();
    }
}

// The window that a press at point of window reaches, as the system finds it for the mouse:
// the topmost window there and the deepest child of it that does not let the press through.
// The point comes back in that window's client coordinates.
HWND WindowAt(HWND window, POINT& point) {
    ClientToScreen(window, &point);
    HWND target = WindowFromPoint(point);
    if (target != nullptr) {
        ScreenToClient(target, &point);
    }
    return target;
}

// A point of the driver's, in the units of the layer, in the pixels of the control's window.
POINT Pixels(const TControl& control, TPoint at) {
    return {ToPixels(at.X, control.Impl().Dpi), ToPixels(at.Y, control.Impl().Dpi)};
}

bool IsPushButton(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return _wcsicmp(className, L"Button") == 0;
}

// Sees whether a click on a button of the program reached it: the button tells its parent,
// which hands the notice back to the button's control once its command has run.
class TCommandWatch {
public:
    explicit TCommandWatch(TControlImpl& button) : Button(button), Before(button.OnNotify) {
        Button.OnNotify = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            const bool handled = Before && Before(msg, wParam, lParam, result);
            Ran = Ran || (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED);
            return handled;
        };
    }
    ~TCommandWatch() { Button.OnNotify = std::move(Before); }
    TCommandWatch(const TCommandWatch&) = delete;
    TCommandWatch& operator=(const TCommandWatch&) = delete;

    bool Ran = false;

private:
    TControlImpl& Button;
    TMessageHandler Before;
};

// Keys go where the keyboard focus is. The driver gives the focus to the window a key is for,
// as the user's click before typing would, and reads it back before it sends the key: into a
// control, the focus must be on it; for a window, anywhere inside it.
void FocusOn(HWND window) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (GetActiveWindow() != root) {
        SetForegroundWindow(root);
    }
    if (window != root && GetFocus() != window) {
        SetFocus(window);
    }
    const bool focused = WaitFor([window, root] {
        HWND focus = GetFocus();
        return GetActiveWindow() == root &&
               (window == root ? focus == root || IsChild(root, focus) : focus == window);
    });
    EXPECT_TRUE(focused) << "waited for the keyboard focus to reach the window a key is for";
}

} // namespace

void ProcessEvents() {
    TestApplication().ProcessMessages();
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ProcessEvents();
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void RunSoon(std::function<void()> action) {
    Soon()[SetTimer(nullptr, 0, 0, &RunAction)] = std::move(action);
}

// Shown and active, as a desktop makes a window that opens, also after an earlier test's.
void ShowAndWait(TForm& form) {
    form.Show();
    HWND window = WindowOf(form);
    SetForegroundWindow(window);
    EXPECT_TRUE(WaitFor([window] { return GetActiveWindow() == window; }))
        << "waited for the window that was shown to become the active one";
}

bool IsShown(const TForm& form) {
    return IsWindowVisible(WindowOf(form)) != FALSE;
}

void Minimise(TForm& form) {
    ShowWindow(WindowOf(form), SW_MINIMIZE);
    ProcessEvents();
}

bool IsInFront(const TForm& form) {
    return GetActiveWindow() == WindowOf(form) && !IsIconic(WindowOf(form));
}

bool IsResizable(const TForm& form) {
    return (GetWindowLongPtrW(WindowOf(form), GWL_STYLE) & WS_THICKFRAME) != 0;
}

std::optional<bool> CloseBoxGreyed(const TForm& form) {
    const UINT state = GetMenuState(GetSystemMenu(WindowOf(form), FALSE), SC_CLOSE, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_GRAYED) != 0;
}

std::optional<bool> SessionEndAllowed(TForm& form) {
    return SendMessageW(WindowOf(form), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE;
}

bool HasFocus(const TControl& control) {
    return WindowOf(control) != nullptr && GetFocus() == WindowOf(control);
}

std::string ShownText(const TControl& control) {
    wchar_t text[1024] = {};
    GetWindowTextW(WindowOf(control), text, 1024);
    return Narrow(CP_UTF8, text);
}

void Click(TControl& control, TMouseButton button, TPoint at) {
    HWND window = WindowOf(control);
    if (window == nullptr || !IsWindowVisible(window)) {
        return;
    }
    POINT point = Pixels(control, at);
    HWND target = WindowAt(window, point);
    if (target == nullptr || !IsWindowEnabled(target) ||
        !IsWindowEnabled(GetAncestor(target, GA_ROOT))) {
        return;
    }
    UINT down = WM_LBUTTONDOWN, up = WM_LBUTTONUP;
    WPARAM held = MK_LBUTTON;
    if (button == TMouseButton::Right) {
        down = WM_RBUTTONDOWN, up = WM_RBUTTONUP, held = MK_RBUTTON;
    } else if (button == TMouseButton::Middle) {
        down = WM_MBUTTONDOWN, up = WM_MBUTTONUP, held = MK_MBUTTON;
    }
    std::optional<TCommandWatch> command;
    if (target == window && button == TMouseButton::Left && IsPushButton(window)) {
        command.emplace(control.Impl());
    }
    const LPARAM lParam = MAKELPARAM(point.x, point.y);
    Post(target, down, held, lParam);
    Post(target, up, 0, lParam);
    ProcessEvents();
    if (command) {
        EXPECT_TRUE(WaitFor([&] { return command->Ran; }))
            << "waited for the click on the button \"" << ShownText(control)
            << "\" to run its command";
    }
}

void DoubleClick(TControl& control, TPoint at) {
    POINT point = Pixels(control, at);
    HWND target = WindowAt(WindowOf(control), point);
    const LPARAM lParam = MAKELPARAM(point.x, point.y);
    Post(target, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    Post(target, WM_LBUTTONUP, 0, lParam);
    Post(target, WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
    Post(target, WM_LBUTTONUP, 0, lParam);
    ProcessEvents();
}

void Click(TControl& control) {
    const TRect client = ClientRect(control);
    Click(control, TMouseButton::Left, {client.Right / 2, client.Bottom / 2});
}

void PressKey(TControl& control, TKey key, TShiftState shift) {
    FocusOn(WindowOf(control));
    PostKey(WindowOf(control), VirtualKey(key), (shift & ssAlt) != 0);
    ProcessEvents();
}

void TypeText(TControl& control, const std::string& text) {
    FocusOn(WindowOf(control));
    for (const char character : text) {
        Post(WindowOf(control), WM_CHAR, static_cast<unsigned char>(character), 1);
    }
    ProcessEvents();
}

void PressAltLetter(TControl& control, char letter) {
    FocusOn(WindowOf(control));
    Post(WindowOf(control), WM_SYSCHAR, static_cast<unsigned char>(letter), 1 | (LPARAM{1} << 29));
    ProcessEvents();
}

void TryToClose(TForm& form) {
    HWND window = WindowOf(form);
    FocusOn(window);
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); // the Close box and the system menu
    PressKey(form, TKey::F4, ssAlt);
    HWND focus = GetFocus();
    PostKey(focus && IsChild(window, focus) ? focus : window, VK_ESCAPE, false);
    ProcessEvents();
}

namespace {

// The keys that lead an open popup menu of form to the command of captions, or close it. The
// menu's own loop takes them: Down to each item (no item is chosen when a menu opens), Right
// into a submenu (its first item chosen), Enter.
void PostMenuKeys(TForm& form, const std::vector<std::string>& captions) {
    const TMenuItem* level = &form.AssignedPopupMenu()->Items();
    HWND focusWindow = WindowOf(form);
    if (captions.empty()) {
        PostKey(focusWindow, VK_ESCAPE, false);
    }
    for (std::size_t step = 0; step < captions.size(); ++step) {
        int place = 0;
        const TMenuItem* item = nullptr;
        for (int i = 0; i < level->Count() && !item; ++i) {
            if (Narrow(CP_UTF8, AnsiText(level->Items(i)->Caption)) == captions[step]) {
                item = level->Items(i);
            } else if (!level->Items(i)->IsSeparator()) {
                ++place;
            }
        }
        if (item == nullptr) {
            PostKey(focusWindow, VK_ESCAPE, false);
            break;
        }
        for (int i = step == 0 ? -1 : 0; i < place; ++i) {
            PostKey(focusWindow, VK_DOWN, false);
        }
        PostKey(focusWindow, step + 1 < captions.size() ? VK_RIGHT : VK_RETURN, false);
        level = item;
    }
}

// A shown top-level window of this thread of the class: "#32770" a message box, "#32768" a menu.
HWND ShownThreadWindow(const std::wstring& windowClass) {
    struct TSearch {
        const std::wstring& Class;
        HWND Found = nullptr;
    } search{windowClass};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& wanted = *reinterpret_cast<TSearch*>(lParam);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (IsWindowVisible(window) && wanted.Class == className) {
                wanted.Found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::function<void()> LookForMenus;

void CALLBACK OnMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (LookForMenus) {
        LookForMenus();
    }
}

// Input as the system queues a user's: into the thread's input queue, which only a loop that
// takes input empties.
void SendInputs(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Keys queued for form reach the window in front, which another program of the session may have
// taken meanwhile (the tests run side by side): form is put in front first, without handling the
// input queued so far.
void KeysFor(TForm& form) {
    HWND window = WindowOf(form);
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
    }
}

} // namespace

void ChoosePopupCommand(TForm& form, TControl& control, TPoint at,
                        const std::vector<std::string>& captions, bool byMenuKey) {
    HWND window = WindowOf(control);
    if (byMenuKey) {
        Post(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
    } else {
        const POINT point = Pixels(control, at);
        Post(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
        Post(window, WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    }
    PostMenuKeys(form, captions);
    ProcessEvents();
}

// The menu's window is looked for by a timer of the thread, which the menu's own loop runs too.
// Its keys are posted once it shows; a submenu that the keys open is part of the same menu.
struct TPopupMenus::TImpl {
    TForm& Form;
    std::vector<std::string> Captions;
    UINT_PTR Timer = 0;
    bool Open = false;
};

TPopupMenus::TPopupMenus(TForm& form, std::vector<std::string> captions)
    : Impl(std::make_unique<TImpl>(TImpl{form, std::move(captions)})) {
    LookForMenus = [this] {
        HWND menu = ShownThreadWindow(L"#32768");
        if (menu == nullptr || Impl->Open) {
            Impl->Open = menu != nullptr;
            return;
        }
        Impl->Open = true;
        if (OnOpen) {
            OnOpen();
        }
        PostMenuKeys(Impl->Form, Impl->Captions);
    };
    Impl->Timer = SetTimer(nullptr, 0, 10, &OnMenuTimer);
}

TPopupMenus::~TPopupMenus() {
    KillTimer(nullptr, Impl->Timer);
    LookForMenus = nullptr;
}

// The pointer is put on the point first: under Wine a move in the same input may be undone by
// the display's own pointer before the press.
void QueueClick(TControl& control, TMouseButton button, TPoint at) {
    POINT point = Pixels(control, at);
    ClientToScreen(WindowOf(control), &point);
    SetCursorPos(point.x, point.y);
    EXPECT_TRUE(WaitFor([point] {
        POINT now{};
        return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
    }));
    DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
    if (button == TMouseButton::Right) {
        down = MOUSEEVENTF_RIGHTDOWN, up = MOUSEEVENTF_RIGHTUP;
    } else if (button == TMouseButton::Middle) {
        down = MOUSEEVENTF_MIDDLEDOWN, up = MOUSEEVENTF_MIDDLEUP;
    }
    // Each press carries its point too; absolute points count 65536 to the screen's width.
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs;
    for (const DWORD flags : {down, up}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = (point.x * 65536 + width - 1) / width;
        input.mi.dy = (point.y * 65536 + height - 1) / height;
        input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        inputs.push_back(input);
    }
    SendInputs(inputs);
}

// To the window with the keyboard focus, in the form.
void QueueCloseKey(TForm& form) {
    KeysFor(form);
    std::vector<INPUT> inputs;
    for (const auto& [key, flags] :
         {std::pair{VK_MENU, DWORD{0}}, std::pair{VK_F4, DWORD{0}},
          std::pair{VK_F4, DWORD{KEYEVENTF_KEYUP}}, std::pair{VK_MENU, DWORD{KEYEVENTF_KEYUP}}}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(key);
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    }
    SendInputs(inputs);
}

void QueueMenuKey(TForm& form) {
    KeysFor(form);
    std::vector<INPUT> inputs;
    for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_APPS;
        input.ki.dwFlags = flags | KEYEVENTF_EXTENDEDKEY;
        inputs.push_back(input);
    }
    SendInputs(inputs);
}

// The arrows and Page Up, Home and End come from the keyboard as extended keys.
void QueueKey(TForm& form, TKey key) {
    KeysFor(form);
    const UINT virtualKey = VirtualKey(key);
    const bool extended = virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN;
    std::vector<INPUT> inputs;
    for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
        input.ki.dwFlags = flags | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(input);
    }
    SendInputs(inputs);
}

void AskForPaint(TControl& control) {
    InvalidateRect(WindowOf(control), nullptr, TRUE);
}

TRect ClientRect(const TControl& control) {
    RECT client{};
    GetClientRect(WindowOf(control), &client);
    return ToUnits(client, control.Impl().Dpi);
}

void Repaint(TControl& control) {
    RedrawWindow(WindowOf(control), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

TImage Grab(TControl& control) {
    HWND window = WindowOf(control);
    UpdateWindow(window);
    RECT client{};
    GetClientRect(window, &client);
    TImage image;
    image.Width = client.right;
    image.Height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.Width;
    info.bmiHeader.biHeight = -image.Height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, image.Width, image.Height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    image.Pixels.assign(pixels, pixels + image.Width * image.Height);
    for (std::uint32_t& pixel : image.Pixels) {
        pixel &= 0xFFFFFF;
    }
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return image;
}

struct TPaintLog::TImpl {
    TControlImpl& Control;
    TMessageHandler Before;
};

TPaintLog::TPaintLog(TControl& control)
    : Impl(std::make_unique<TImpl>(TImpl{control.Impl(), control.Impl().OnMessage})) {
    Impl->Control.OnMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        RECT area;
        if (msg == WM_PAINT && GetUpdateRect(Impl->Control.Handle, &area, FALSE)) {
            Rects.push_back(ToUnits(area, Impl->Control.Dpi));
            if (OnPaint) {
                OnPaint();
            }
        }
        return Impl->Before && Impl->Before(msg, wParam, lParam, result);
    };
}

TPaintLog::~TPaintLog() {
    Impl->Control.OnMessage = std::move(Impl->Before);
}

struct TOffscreenCanvas::TImpl {
    TControlImpl Device; // no window: the system's default font
    HDC Memory = nullptr;
    HBITMAP Picture = nullptr;
    HGDIOBJ Previous = nullptr;
    std::uint32_t* Bits = nullptr;
    int Width = 0, Height = 0;
    std::unique_ptr<TCanvas> Canvas;
};

TOffscreenCanvas::TOffscreenCanvas(int width, int height) : Impl(std::make_unique<TImpl>()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Impl->Memory = CreateCompatibleDC(nullptr);
    Impl->Picture = CreateDIBSection(Impl->Memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Impl->Previous = SelectObject(Impl->Memory, Impl->Picture);
    Impl->Bits = static_cast<std::uint32_t*>(bits);
    Impl->Width = width;
    Impl->Height = height;
    std::fill(Impl->Bits, Impl->Bits + width * height, 0xFFFFFFu);
    Impl->Canvas = std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(Impl->Device));
    Impl->Canvas->Impl().Dc = Impl->Memory;
}

TOffscreenCanvas::~TOffscreenCanvas() {
    SelectObject(Impl->Memory, Impl->Previous);
    DeleteObject(Impl->Picture);
    DeleteDC(Impl->Memory);
}

TCanvas& TOffscreenCanvas::Canvas() {
    return *Impl->Canvas;
}

TImage TOffscreenCanvas::Image() const {
    GdiFlush();
    TImage image;
    image.Width = Impl->Width;
    image.Height = Impl->Height;
    image.Pixels.assign(Impl->Bits, Impl->Bits + Impl->Width * Impl->Height);
    for (std::uint32_t& pixel : image.Pixels) {
        pixel &= 0xFFFFFF;
    }
    return image;
}

// The boxes are looked for by a timer of the thread, which the box's own loop runs as well.
struct TMessageBoxes::TImpl {
    UINT_PTR Timer = 0;
    std::set<HWND> Answered;
};

namespace {

std::function<void()> LookForBoxes;

void CALLBACK OnBoxTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (LookForBoxes) {
        LookForBoxes();
    }
}

} // namespace

TMessageBoxes::TMessageBoxes(TAnswer answer) : Answer(answer), Impl(std::make_unique<TImpl>()) {
    LookForBoxes = [this] {
        HWND box = ShownThreadWindow(L"#32770");
        if (box == nullptr || !Impl->Answered.insert(box).second) {
            return;
        }
        wchar_t text[4096] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 4096); // the box's message
        Texts.push_back(Narrow(CP_UTF8, text));
        if (OnBox) {
            OnBox(Texts.back());
        }
        const int button = Answer == Retry    ? IDRETRY
                           : Answer == Cancel ? IDCANCEL
                           : Answer == Yes    ? IDYES
                           : Answer == No     ? IDNO
                                              : IDOK;
        HWND target = GetDlgItem(box, button);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(target ? button : IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(target ? target : GetDlgItem(box, IDOK)));
    };
    Impl->Timer = SetTimer(nullptr, 0, 10, &OnBoxTimer);
}

TMessageBoxes::~TMessageBoxes() {
    KillTimer(nullptr, Impl->Timer);
    LookForBoxes = nullptr;
}

std::string DesktopTarget(const std::string& path) {
    return path;
}

namespace {

struct TRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
using TAccessible = std::unique_ptr<IAccessible, TRelease>;

std::vector<int>* CheckEvents = nullptr;
HWND CheckEventList = nullptr;

// The object that a tool gets for the control's window.
TAccessible AccessibleOf(const TControl& control) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(WindowOf(control), static_cast<DWORD>(OBJID_CLIENT),
                               __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    EXPECT_NE(object, nullptr);
    return TAccessible(object);
}

VARIANT Child(long id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::string NameOf(IAccessible& object, long child) {
    BSTR name = nullptr;
    object.get_accName(Child(child), &name);
    const std::string utf8 = name ? Narrow(CP_UTF8, name) : std::string();
    SysFreeString(name);
    return utf8;
}

} // namespace

TAccessibleItem ReadAccessibleItem(TControl& list, int index) {
    const TAccessible object = AccessibleOf(list);
    VARIANT role{}, state{};
    if (!object || object->get_accRole(Child(index + 1), &role) != S_OK ||
        object->get_accState(Child(index + 1), &state) != S_OK) {
        return {};
    }
    return {NameOf(*object, index + 1),
            role.lVal != ROLE_SYSTEM_CHECKBUTTON ? "role " + std::to_string(role.lVal)
            : state.lVal & STATE_SYSTEM_MIXED    ? "mixed"
            : state.lVal & STATE_SYSTEM_CHECKED  ? "checked"
                                                 : "unchecked",
            (state.lVal & STATE_SYSTEM_SELECTED) != 0, (state.lVal & STATE_SYSTEM_FOCUSED) != 0};
}

std::string AccessibleName(TControl& control) {
    const TAccessible object = AccessibleOf(control);
    return object ? NameOf(*object, CHILDID_SELF) : std::string();
}

void DoAccessibleAction(TControl& list, int index) {
    if (const TAccessible object = AccessibleOf(list)) {
        EXPECT_EQ(object->accDoDefaultAction(Child(index + 1)), S_OK);
    }
}

// The events come through the message loop, as to a tool in another process.
std::shared_ptr<std::vector<int>> RecordCheckEvents(TControl& list) {
    CheckEventList = WindowOf(list);
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
            if (window == CheckEventList && object == OBJID_CLIENT) {
                CheckEvents->push_back(child - 1);
            }
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    EXPECT_NE(hook, nullptr);
    CheckEvents = new std::vector<int>;
    return {CheckEvents, [hook](std::vector<int>* events) {
                UnhookWinEvent(hook);
                delete events;
            }};
}
