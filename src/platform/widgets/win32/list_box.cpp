#include "platform/widgets/list_box.h"

#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/canvas_impl.h"
#include "platform/widgets/win32/control_impl.h"

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

    void Destroy() override {
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
    int RowUnits = 0; // the owner-drawn rows' height
};

} // namespace

TCustomListBox::TCustomListBox(TControl* parent)
    : TControl(parent, std::make_unique<TListBoxWidget>(*this)),
      CanvasPtr(std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(Impl()))) {}

TListBoxWindow& ListBoxWindow(TControlImpl& impl) {
    return static_cast<TListBoxWidget&>(impl);
}
