#include "platform/widgets/list_box.h"

#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/application_impl.h"
#include "platform/widgets/win32/canvas_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <oleacc.h>

#include <atomic>
#include <optional>
#include <vector>

namespace {

// Where the window of a list box without parent lives: a window that is never shown, so that
// the list still has a parent to send its drawing requests to.
HWND ParkingWindow() {
    static TControlImpl parking;
    if (parking.Handle == nullptr) {
        parking.CreateHandle(PanelClassName, 0, 0, HWND_MESSAGE);
    }
    return parking.Handle;
}

TShiftState ShiftOf(WPARAM keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT) {
        shift |= ssShift;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= ssAlt;
    }
    if (keys & MK_CONTROL) {
        shift |= ssCtrl;
    }
    if (keys & MK_LBUTTON) {
        shift |= ssLeft;
    }
    if (keys & MK_RBUTTON) {
        shift |= ssRight;
    }
    if (keys & MK_MBUTTON) {
        shift |= ssMiddle;
    }
    return shift;
}

TOwnerDrawState StateOf(UINT itemState) {
    TOwnerDrawState state = 0;
    if (itemState & ODS_SELECTED) {
        state |= odSelected;
    }
    if (itemState & ODS_FOCUS) {
        state |= odFocused;
    }
    return state;
}

class TListBoxWidget;

// The list as assistive tools read it through MSAA: a list named as the program names it, its
// items its children 1 to n (the numbers that the system's list box gives them in its own
// events), each a check box named by its text, or a plain item where the list has no check
// boxes. What concerns the list's window as a whole (its place, parent, state, neighbours) comes
// from the system's object for it. Tools may hold the object after the window has gone; it then
// says so.
// COM's interfaces have no virtual destructor: the object deletes itself as what it is.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TListAccessible final : public IAccessible {
#pragma GCC diagnostic pop
public:
    TListAccessible(TListBoxWidget& list, HWND window);
    ~TListAccessible() {
        if (Standard) {
            Standard->Release();
        }
    }
    TListAccessible(const TListAccessible&) = delete;
    TListAccessible& operator=(const TListAccessible&) = delete;

    void Disconnect() {
        List = nullptr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return ++References;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --References;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: tools ask through IAccessible's own methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return NoText(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *file = nullptr;
        *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
        return E_NOTIMPL;
    }

private:
    static constexpr int Self = -1;

    // The item that child names, Self for the list, none for what names nothing.
    std::optional<int> ItemOf(const VARIANT& child) const;
    int Count() const;
    TAccessibleCheck Check(int index) const;
    HRESULT NoText(const VARIANT& child, BSTR* text) const {
        *text = nullptr;
        return ItemOf(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    }

    std::atomic<ULONG> References{1};
    TListBoxWidget* List;
    HWND Window;
    IAccessible* Standard = nullptr; // the system's object for the window
};

// The list's window: a system list box that keeps the items' data words, the current item and
// the row height. The items' texts stay here as the program gave them, byte for byte: the
// system's own strings would go through a code page conversion and back.
class TListBoxWidget : public TControlImpl, public TListBoxWindow {
public:
    explicit TListBoxWidget(TCustomListBox& owner) : Owner(owner) {
        OnMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            return HandleMessage(msg, wParam, lParam, result);
        };
        OnNotify = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
            return msg == WM_DRAWITEM &&
                   PaintItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), result);
        };
    }

    bool Exists() const override { return Handle != nullptr; }

    void Create(TListBoxStyle style, int rowHeight) override {
        WindowStyle = style;
        HWND parent = ParentWindow(Owner.Parent());
        CreateHandle(L"LISTBOX",
                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                         LBS_NOINTEGRALHEIGHT |
                         (OwnerDrawn() ? LBS_OWNERDRAWFIXED : LBS_HASSTRINGS),
                     WS_EX_CLIENTEDGE, parent ? parent : ParkingWindow());
        RowUnits = rowHeight;
        if (OwnerDrawn()) {
            Send(LB_SETITEMHEIGHT, 0, ToPixels(rowHeight, Dpi));
        }
        if (UpdateCount > 0) {
            Send(WM_SETREDRAW, FALSE, 0);
        }
    }

    ~TListBoxWidget() override { ForgetAccessible(); }

    void Destroy() override {
        ForgetAccessible();
        DestroyWindow(Handle);
        Handle = nullptr;
        std::vector<std::string>().swap(Texts);
    }

    int Count() const override { return Exists() ? static_cast<int>(Send(LB_GETCOUNT, 0, 0)) : 0; }
    const std::string& Text(int index) const override {
        return Texts[static_cast<std::size_t>(index)];
    }
    std::intptr_t Data(int index) const override {
        return Send(LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    }
    void SetData(int index, std::intptr_t word) override {
        Send(LB_SETITEMDATA, static_cast<WPARAM>(index), word);
    }

    void Append(std::string text) override {
        // An owner-drawn list keeps no strings: the item's own word is its data word.
        const std::wstring shown = OwnerDrawn() ? std::wstring() : AnsiText(text);
        const LPARAM item = OwnerDrawn() ? 0 : reinterpret_cast<LPARAM>(shown.c_str());
        const auto index = static_cast<WPARAM>(Send(LB_ADDSTRING, 0, item));
        Send(LB_SETITEMDATA, index, 0);
        Texts.push_back(std::move(text));
    }

    void Delete(int index) override {
        Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        Texts.erase(Texts.begin() + index);
    }

    void Clear() override {
        if (Exists()) {
            Send(LB_RESETCONTENT, 0, 0);
        }
        Texts.clear();
    }

    void BeginUpdate() override {
        if (UpdateCount++ == 0 && Exists()) {
            Send(WM_SETREDRAW, FALSE, 0);
        }
    }

    void EndUpdate() override {
        if (UpdateCount > 0 && --UpdateCount == 0 && Exists()) {
            Send(WM_SETREDRAW, TRUE, 0);
            InvalidateRect(Handle, nullptr, TRUE);
        }
    }

    int Current() const override {
        return Exists() ? static_cast<int>(Send(LB_GETCURSEL, 0, 0)) : -1;
    }
    void SetCurrent(int index) override { Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

    int Top() const override { return Exists() ? static_cast<int>(Send(LB_GETTOPINDEX, 0, 0)) : 0; }
    void SetTop(int index) override { Send(LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); }

    int RowHeight() const override {
        return ToUnits(static_cast<int>(Send(LB_GETITEMHEIGHT, 0, 0)), Dpi);
    }
    int VisibleRows() const override {
        RECT client{};
        GetClientRect(Handle, &client);
        const auto row = static_cast<int>(Send(LB_GETITEMHEIGHT, 0, 0));
        return row > 0 ? client.bottom / row : 0;
    }
    bool SetRowHeight(int height) override {
        if (Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(ToPixels(height, Dpi), 0)) == LB_ERR) {
            return false;
        }
        RowUnits = height;
        InvalidateRect(Handle, nullptr, TRUE);
        return true;
    }

    TRect ItemRect(int index) const override {
        RECT rect{};
        Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return ToUnits(rect, Dpi);
    }

    int ItemAt(TPoint point) const override {
        RECT client;
        const POINT at{ToPixels(point.X, Dpi), ToPixels(point.Y, Dpi)};
        if (!GetClientRect(Handle, &client) || !PtInRect(&client, at)) {
            return -1;
        }
        const LRESULT found = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
        return HIWORD(found) == 0 ? LOWORD(found) : -1;
    }

    void Repaint(const TRect& rect) override {
        const RECT area = ToPixels(rect, Dpi);
        InvalidateRect(Handle, &area, TRUE);
        UpdateWindow(Handle);
    }

    // A list that is not owner-drawn takes its row height from the new font by itself.
    void FontChanged() override {
        if (Exists()) {
            InvalidateRect(Handle, nullptr, TRUE);
        }
    }

    // The system's list box tells of its caret and selection itself, in the same numbers.
    void AccessibleCheckChanged(int index) override {
        if (Exists()) {
            NotifyWinEvent(EVENT_OBJECT_STATECHANGE, Handle, OBJID_CLIENT, index + 1);
        }
    }

    TCustomListBox& List() const { return Owner; }
    TAccessibleCheck ItemCheck(int index) const { return AccessibleCheck(Owner, index); }

protected:
    void HandleNeeded() override { Owner.HandleNeeded(); }

    // Owner-drawn rows keep their height in units; other rows follow the font by themselves.
    void DpiChanged() override {
        if (Exists() && OwnerDrawn()) {
            Send(LB_SETITEMHEIGHT, 0, ToPixels(RowUnits, Dpi));
            InvalidateRect(Handle, nullptr, TRUE);
        }
    }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(Handle, msg, wParam, lParam);
    }

    bool OwnerDrawn() const { return WindowStyle != TListBoxStyle::Standard; }

    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        TMouseButton button;
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            button = TMouseButton::Left;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            button = TMouseButton::Right;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            button = TMouseButton::Middle;
            break;
        case WM_CHAR:
            return TypeCharacter(wParam, lParam, result);
        case WM_GETOBJECT:
            return AnswerAccessibilityRequest(wParam, lParam, result);
        case WM_ACCESSIBLEACTION:
            AccessibleAction(Owner, static_cast<int>(wParam));
            result = 0;
            return true;
        default:
            return false;
        }
        // The list moves its current item first; the second press of a double click counts
        // as a press of its own.
        result = CallWindowProcW(ClassProc, Handle, msg, wParam, lParam);
        MouseDown(Owner, button, ShiftOf(wParam), ToUnits(static_cast<short>(LOWORD(lParam)), Dpi),
                  ToUnits(static_cast<short>(HIWORD(lParam)), Dpi));
        return true;
    }

    // A key that types one ASCII character reaches KeyPress, which may change or swallow it.
    bool TypeCharacter(WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (wParam == 0 || wParam >= 0x80) {
            return false;
        }
        char key = static_cast<char>(wParam);
        KeyPress(Owner, key);
        result = key == 0 ? 0
                          : CallWindowProcW(ClassProc, Handle, WM_CHAR,
                                            static_cast<unsigned char>(key), lParam);
        return true;
    }

    // Assistive tools ask the list's window for its object; other objects of the window (its
    // frame, scroll bar) are the system's.
    bool AnswerAccessibilityRequest(WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
            return false;
        }
        // The object is handed over through COM, which the thread must have joined.
        static const bool joined = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        (void)joined;
        if (Accessible == nullptr) {
            Accessible = new TListAccessible(*this, Handle);
        }
        result = LresultFromObject(__uuidof(IAccessible), wParam, Accessible);
        return true;
    }

    void ForgetAccessible() {
        if (Accessible) {
            Accessible->Disconnect();
            Accessible->Release();
            Accessible = nullptr;
        }
    }

    bool PaintItem(const DRAWITEMSTRUCT& request, LRESULT& result) {
        // The row's place in units, as high as every row.
        const RECT& pixels = request.rcItem;
        const int left = ToUnits(pixels.left, Dpi), top = ToUnits(pixels.top, Dpi);
        const TRect row{left, top, left + ToUnits(pixels.right - pixels.left, Dpi), top + RowUnits};
        TDrawItemStruct drawItem{static_cast<int>(request.itemID), row, StateOf(request.itemState)};
        const TCanvasPainting painting(Owner.Canvas(), request.hDC, row, pixels);
        DrawItem(Owner, drawItem);
        result = TRUE;
        return true;
    }

    TCustomListBox& Owner;
    std::vector<std::string> Texts;
    TListBoxStyle WindowStyle = TListBoxStyle::Standard;
    int UpdateCount = 0;
    int RowUnits = 0;                      // the owner-drawn rows' height
    TListAccessible* Accessible = nullptr; // made when a tool first asks for it
};

BSTR ToBstr(const std::wstring& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

VARIANT ChildId(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

TListAccessible::TListAccessible(TListBoxWidget& list, HWND window) : List(&list), Window(window) {
    CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&Standard));
}

std::optional<int> TListAccessible::ItemOf(const VARIANT& child) const {
    if (List == nullptr || child.vt != VT_I4) {
        return std::nullopt;
    }
    if (child.lVal == CHILDID_SELF) {
        return Self;
    }
    if (child.lVal >= 1 && child.lVal <= Count()) {
        return static_cast<int>(child.lVal) - 1;
    }
    return std::nullopt;
}

int TListAccessible::Count() const {
    return List ? List->Count() : 0;
}

TAccessibleCheck TListAccessible::Check(int index) const {
    return List->ItemCheck(index);
}

HRESULT TListAccessible::get_accParent(IDispatch** parent) {
    *parent = nullptr;
    if (List == nullptr || Standard == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    return Standard->get_accParent(parent);
}

HRESULT TListAccessible::get_accChildCount(long* count) {
    *count = Count();
    return List ? S_OK : CO_E_OBJNOTCONNECTED;
}

// The items are simple elements of the list, not objects of their own.
HRESULT TListAccessible::get_accChild(VARIANT child, IDispatch** object) {
    *object = nullptr;
    const std::optional<int> item = ItemOf(child);
    return item && *item != Self ? S_FALSE : E_INVALIDARG;
}

HRESULT TListAccessible::get_accName(VARIANT child, BSTR* name) {
    *name = nullptr;
    const std::optional<int> item = ItemOf(child);
    if (!item) {
        return E_INVALIDARG;
    }
    const std::string& text = *item == Self ? List->List().AccessibleName() : List->Text(*item);
    if (text.empty()) {
        return S_FALSE;
    }
    *name = ToBstr(AnsiText(text));
    return S_OK;
}

HRESULT TListAccessible::get_accRole(VARIANT child, VARIANT* role) {
    VariantInit(role);
    const std::optional<int> item = ItemOf(child);
    if (!item) {
        return E_INVALIDARG;
    }
    *role = ChildId(*item == Self                            ? ROLE_SYSTEM_LIST
                    : Check(*item) == TAccessibleCheck::None ? ROLE_SYSTEM_LISTITEM
                                                             : ROLE_SYSTEM_CHECKBUTTON);
    return S_OK;
}

HRESULT TListAccessible::get_accState(VARIANT child, VARIANT* state) {
    VariantInit(state);
    const std::optional<int> item = ItemOf(child);
    if (!item) {
        return E_INVALIDARG;
    }
    if (*item == Self) {
        return Standard ? Standard->get_accState(child, state) : E_FAIL;
    }
    long flags = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (*item == List->Current()) {
        flags |= STATE_SYSTEM_SELECTED;
        // Only while the list has the keyboard.
        if (GetFocus() == Window) {
            flags |= STATE_SYSTEM_FOCUSED;
        }
    }
    const int top = List->Top();
    if (*item < top || *item >= top + List->VisibleRows() || !IsWindowVisible(Window)) {
        flags |= STATE_SYSTEM_OFFSCREEN;
    }
    if (!IsWindowEnabled(Window)) {
        flags |= STATE_SYSTEM_UNAVAILABLE;
    }
    switch (Check(*item)) {
    case TAccessibleCheck::Checked:
        flags |= STATE_SYSTEM_CHECKED;
        break;
    case TAccessibleCheck::Mixed:
        flags |= STATE_SYSTEM_MIXED;
        break;
    case TAccessibleCheck::Unchecked:
    case TAccessibleCheck::None:
        break;
    }
    *state = ChildId(flags);
    return S_OK;
}

HRESULT TListAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    *keys = nullptr;
    const std::optional<int> item = ItemOf(child);
    if (item && *item == Self && Standard) {
        return Standard->get_accKeyboardShortcut(child, keys);
    }
    return item ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT TListAccessible::get_accFocus(VARIANT* child) {
    VariantInit(child);
    if (List == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (GetFocus() != Window) {
        return S_FALSE;
    }
    *child = ChildId(List->Current() + 1); // the list itself without a current item
    return S_OK;
}

HRESULT TListAccessible::get_accSelection(VARIANT* children) {
    VariantInit(children);
    if (List == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (List->Current() < 0) {
        return S_FALSE;
    }
    *children = ChildId(List->Current() + 1);
    return S_OK;
}

HRESULT TListAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    *action = nullptr;
    const std::optional<int> item = ItemOf(child);
    if (!item) {
        return E_INVALIDARG;
    }
    if (*item == Self || Check(*item) == TAccessibleCheck::None) {
        return DISP_E_MEMBERNOTFOUND;
    }
    *action =
        SysAllocString(Check(*item) == TAccessibleCheck::Checked ? L"ﾁｪｯｸを外す" : L"ﾁｪｯｸする");
    return S_OK;
}

HRESULT TListAccessible::accSelect(long flags, VARIANT child) {
    const std::optional<int> item = ItemOf(child);
    if (item && *item == Self && Standard) {
        return Standard->accSelect(flags, child);
    }
    return item ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT TListAccessible::accLocation(long* left, long* top, long* width, long* height,
                                     VARIANT child) {
    *left = *top = *width = *height = 0;
    const std::optional<int> item = ItemOf(child);
    if (!item) {
        return E_INVALIDARG;
    }
    if (*item == Self) {
        return Standard ? Standard->accLocation(left, top, width, height, child) : E_FAIL;
    }
    RECT rect{};
    SendMessageW(Window, LB_GETITEMRECT, static_cast<WPARAM>(*item),
                 reinterpret_cast<LPARAM>(&rect));
    MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT TListAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    VariantInit(end);
    const std::optional<int> item = ItemOf(start);
    if (!item) {
        return E_INVALIDARG;
    }
    std::optional<long> found;
    if (*item == Self) {
        if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) {
            return Standard ? Standard->accNavigate(direction, start, end) : S_FALSE;
        }
        if (Count() > 0) {
            found = direction == NAVDIR_FIRSTCHILD ? 1 : Count();
        }
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        if (*item + 1 < Count()) {
            found = *item + 2;
        }
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        if (*item > 0) {
            found = *item;
        }
    }
    if (!found) {
        return S_FALSE;
    }
    *end = ChildId(*found);
    return S_OK;
}

HRESULT TListAccessible::accHitTest(long x, long y, VARIANT* child) {
    VariantInit(child);
    if (List == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    POINT at{x, y};
    RECT client{};
    ScreenToClient(Window, &at);
    if (!GetClientRect(Window, &client) || !PtInRect(&client, at)) {
        return S_FALSE;
    }
    const LRESULT found = SendMessageW(Window, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    *child = ChildId(HIWORD(found) == 0 ? LOWORD(found) + 1 : CHILDID_SELF);
    return S_OK;
}

// As a click on the item's check box, taken when input is.
HRESULT TListAccessible::accDoDefaultAction(VARIANT child) {
    const std::optional<int> item = ItemOf(child);
    if (!item) {
        return E_INVALIDARG;
    }
    if (*item == Self || Check(*item) == TAccessibleCheck::None) {
        return DISP_E_MEMBERNOTFOUND;
    }
    PostMessageW(Window, WM_ACCESSIBLEACTION, static_cast<WPARAM>(*item), 0);
    return S_OK;
}

} // namespace

TCustomListBox::TCustomListBox(TControl* parent)
    : TControl(parent, std::make_unique<TListBoxWidget>(*this)),
      CanvasPtr(std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(Impl()))) {}

TListBoxWindow& ListBoxWindow(TControlImpl& impl) {
    return static_cast<TListBoxWidget&>(impl);
}
