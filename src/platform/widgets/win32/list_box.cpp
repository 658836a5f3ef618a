#include "platform/widgets/list_box.h"

#include "platform/exceptions.h"
#include "platform/widgets/application.h"
#include "platform/widgets/win32/canvas_impl.h"
#include "platform/widgets/win32/control_impl.h"

#include <algorithm>

namespace {

// The tallest row a list window accepts.
constexpr int MaxRowHeight = 255;

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
    if (itemState & ODS_DISABLED) {
        state |= odDisabled;
    }
    if (itemState & ODS_FOCUS) {
        state |= odFocused;
    }
    return state;
}

} // namespace

// The list's window: a system list box that keeps the items' data words, the current item and
// the row height. The items' texts stay here as the program gave them, byte for byte.
class TListBoxWidget : public TControlImpl {
public:
    explicit TListBoxWidget(TCustomListBox& owner) : Owner(owner) {
        OnMessage = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            return HandleMessage(msg, wParam, lParam, result);
        };
        OnNotify = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
            return msg == WM_DRAWITEM &&
                   DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), result);
        };
    }

    void MakeWindow(unsigned style, int rowHeight) {
        WindowStyle = style;
        HWND parent = ParentWindow(Owner.Parent());
        const bool ownerDrawn = OwnerDrawn();
        CreateHandle(L"LISTBOX",
                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                         LBS_NOINTEGRALHEIGHT | style | (ownerDrawn ? 0 : LBS_HASSTRINGS),
                     WS_EX_CLIENTEDGE, parent ? parent : ParkingWindow());
        if (ownerDrawn) {
            Send(LB_SETITEMHEIGHT, 0, rowHeight);
        }
        if (UpdateCount > 0) {
            Send(WM_SETREDRAW, FALSE, 0);
        }
    }

    void DropWindow() {
        ::DestroyWindow(Handle);
        Handle = nullptr;
        std::vector<std::string>().swap(Texts);
    }

    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(Handle, msg, wParam, lParam);
    }

    bool Allocated() const { return Handle != nullptr; }
    bool OwnerDrawn() const {
        return (WindowStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    }
    int Count() const { return Allocated() ? static_cast<int>(Send(LB_GETCOUNT, 0, 0)) : 0; }
    bool Valid(int index) const { return index >= 0 && index < Count(); }

    void Append(std::string text) {
        const std::wstring shown = OwnerDrawn() ? std::wstring() : AnsiText(text);
        const LPARAM item = OwnerDrawn() ? 0 : reinterpret_cast<LPARAM>(shown.c_str());
        const auto index = static_cast<WPARAM>(Send(LB_ADDSTRING, 0, item));
        Send(LB_SETITEMDATA, index, 0);
        Texts.push_back(std::move(text));
    }

    void BeginUpdate() {
        if (UpdateCount++ == 0 && Allocated()) {
            Send(WM_SETREDRAW, FALSE, 0);
        }
    }

    void EndUpdate() {
        if (UpdateCount > 0 && --UpdateCount == 0 && Allocated()) {
            Send(WM_SETREDRAW, TRUE, 0);
            InvalidateRect(Handle, nullptr, TRUE);
        }
    }

    std::vector<std::string> Texts;
    unsigned WindowStyle = 0;
    int UpdateCount = 0;

protected:
    void HandleNeeded() override { Owner.HandleNeeded(); }

private:
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
        Owner.MouseDown(button, ShiftOf(wParam), static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam)));
        return true;
    }

    // A key that types one ASCII character reaches KeyPress, which may change or swallow it.
    bool TypeCharacter(WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (wParam == 0 || wParam >= 0x80) {
            return false;
        }
        char key = static_cast<char>(wParam);
        Owner.KeyPress(key);
        result = key == 0 ? 0
                          : CallWindowProcW(ClassProc, Handle, WM_CHAR,
                                            static_cast<unsigned char>(key), lParam);
        return true;
    }

    bool DrawItem(const DRAWITEMSTRUCT& request, LRESULT& result) {
        TDrawItemStruct drawItem{static_cast<int>(request.itemID), ToTRect(request.rcItem),
                                 StateOf(request.itemState)};
        const TCanvasPainting painting(Owner.Canvas(), request.hDC);
        Owner.CNDrawItem(drawItem);
        result = TRUE;
        return true;
    }

    TCustomListBox& Owner;
};

// Items

int TListBoxStrings::Count() const {
    return Owner.Widget().Count();
}

const std::string& TListBoxStrings::operator[](int index) const {
    const TListBoxWidget& widget = Owner.Widget();
    if (!widget.Valid(index)) {
        throw EListError::IndexError(index);
    }
    return widget.Texts[static_cast<std::size_t>(index)];
}

int TListBoxStrings::Add(std::string text) {
    Owner.HandleNeeded();
    TListBoxWidget& widget = Owner.Widget();
    widget.Append(std::move(text));
    return widget.Count() - 1;
}

void TListBoxStrings::Delete(int index) {
    Owner.DeleteString(index);
}

void TListBoxStrings::Clear() {
    Owner.ResetContent();
}

void TListBoxStrings::BeginUpdate() {
    Owner.Widget().BeginUpdate();
}

void TListBoxStrings::EndUpdate() {
    Owner.Widget().EndUpdate();
}

// The list box

TCustomListBox::TCustomListBox(TControl* parent)
    : TControl(parent, std::make_unique<TListBoxWidget>(*this)),
      CanvasPtr(std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(Impl()))) {}

TCustomListBox::~TCustomListBox() = default;

TListBoxWidget& TCustomListBox::Widget() const {
    return static_cast<TListBoxWidget&>(Impl());
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
    if (style != ListStyle) {
        ListStyle = style;
        RecreateWnd();
    }
}

int TCustomListBox::ItemHeight() const {
    if (HandleAllocated() && ListStyle == TListBoxStyle::Standard) {
        return static_cast<int>(Widget().Send(LB_GETITEMHEIGHT, 0, 0));
    }
    return ItemHeightValue;
}

void TCustomListBox::SetItemHeight(int height) {
    if (height < 1) {
        return;
    }
    ItemHeightValue = height;
    if (HandleAllocated() && ListStyle != TListBoxStyle::Standard) {
        Perform(LB_SETITEMHEIGHT, 0, height);
    }
}

TRect TCustomListBox::ItemRect(int index) const {
    const TListBoxWidget& widget = Widget();
    RECT rect{};
    if (!widget.Valid(index) || widget.Send(LB_GETITEMRECT, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
        return {};
    }
    return ToTRect(rect);
}

int TCustomListBox::ItemAtPos(TPoint pos) const {
    const TListBoxWidget& widget = Widget();
    RECT client;
    if (!widget.Allocated() || !GetClientRect(widget.Handle, &client) ||
        !PtInRect(&client, POINT{pos.X, pos.Y})) {
        return -1;
    }
    const LRESULT found = widget.Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(pos.X, pos.Y));
    const int index = LOWORD(found);
    return HIWORD(found) == 0 && widget.Valid(index) ? index : -1;
}

int TCustomListBox::ItemIndex() const {
    const TListBoxWidget& widget = Widget();
    return widget.Allocated() ? static_cast<int>(widget.Send(LB_GETCURSEL, 0, 0)) : -1;
}

void TCustomListBox::SetItemIndex(int index) {
    TListBoxWidget& widget = Widget();
    if (widget.Allocated()) {
        widget.Send(LB_SETCURSEL, static_cast<WPARAM>(widget.Valid(index) ? index : -1), 0);
    }
}

int TCustomListBox::TopIndex() const {
    const TListBoxWidget& widget = Widget();
    return widget.Allocated() ? static_cast<int>(widget.Send(LB_GETTOPINDEX, 0, 0)) : 0;
}

bool TCustomListBox::HandleAllocated() const {
    return Widget().Allocated();
}

void TCustomListBox::HandleNeeded() {
    if (!HandleAllocated()) {
        CreateWnd();
    }
}

void TCustomListBox::RecreateWnd() {
    if (HandleAllocated()) {
        DestroyWnd();
        CreateWnd();
    }
}

std::intptr_t TCustomListBox::Perform(unsigned msg, std::uintptr_t /*wParam*/,
                                      std::intptr_t lParam) {
    TListBoxWidget& widget = Widget();
    if (msg != LB_SETITEMHEIGHT || !widget.Allocated() || lParam < 1 || lParam > MaxRowHeight) {
        return LB_ERR;
    }
    if (widget.Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(lParam, 0)) == LB_ERR) {
        return LB_ERR;
    }
    InvalidateRect(widget.Handle, nullptr, TRUE);
    return 0;
}

std::intptr_t TCustomListBox::GetItemData(int index) const {
    const TListBoxWidget& widget = Widget();
    return widget.Valid(index) ? widget.Send(LB_GETITEMDATA, static_cast<WPARAM>(index), 0) : -1;
}

void TCustomListBox::SetItemData(int index, std::intptr_t value) {
    TListBoxWidget& widget = Widget();
    if (!widget.Valid(index)) {
        throw EListError::IndexError(index);
    }
    widget.Send(LB_SETITEMDATA, static_cast<WPARAM>(index), value);
}

void TCustomListBox::DeleteString(int index) {
    TListBoxWidget& widget = Widget();
    if (!widget.Valid(index)) {
        throw EListError::IndexError(index);
    }
    widget.Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    widget.Texts.erase(widget.Texts.begin() + index);
}

void TCustomListBox::ResetContent() {
    TListBoxWidget& widget = Widget();
    if (widget.Allocated()) {
        widget.Send(LB_RESETCONTENT, 0, 0);
    }
    widget.Texts.clear();
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    if (ListStyle == TListBoxStyle::OwnerDrawFixed) {
        params.Style |= LBS_OWNERDRAWFIXED;
    } else if (ListStyle == TListBoxStyle::OwnerDrawVariable) {
        params.Style |= LBS_OWNERDRAWVARIABLE;
    }
}

void TCustomListBox::CreateWnd() {
    TListBoxWidget& widget = Widget();
    if (widget.Allocated()) {
        return;
    }
    TCreateParams params;
    CreateParams(params);
    widget.MakeWindow(params.Style, std::min(ItemHeightValue, MaxRowHeight));
    if (!Saved) {
        return;
    }
    TSavedWindow saved = std::move(*Saved);
    Saved.reset();
    widget.BeginUpdate();
    for (TSavedItem& item : saved.Items) {
        widget.Append(std::move(item.Text));
        SetItemData(widget.Count() - 1, item.Data);
    }
    widget.EndUpdate();
    widget.Send(LB_SETTOPINDEX, static_cast<WPARAM>(saved.TopIndex), 0);
    SetItemIndex(saved.ItemIndex);
}

void TCustomListBox::DestroyWnd() {
    TListBoxWidget& widget = Widget();
    if (!widget.Allocated()) {
        return;
    }
    const int count = widget.Count();
    if (count > 0) {
        TSavedWindow saved;
        saved.Items.resize(static_cast<std::size_t>(count));
        // All data first: a derived GetItemData may look at any item's text.
        for (int index = 0; index < count; ++index) {
            saved.Items[static_cast<std::size_t>(index)].Data = GetItemData(index);
        }
        for (int index = 0; index < count; ++index) {
            saved.Items[static_cast<std::size_t>(index)].Text =
                std::move(widget.Texts[static_cast<std::size_t>(index)]);
        }
        saved.ItemIndex = ItemIndex();
        saved.TopIndex = TopIndex();
        Saved = std::move(saved);
    }
    widget.DropWindow();
}

void TCustomListBox::PrepareCanvas(TOwnerDrawState state) {
    TCanvas& canvas = Canvas();
    canvas.SetFont(Font());
    const bool selected = (state & odSelected) != 0;
    canvas.SetBrushColor(selected ? TSysColor::Highlight : TSysColor::Window);
    canvas.SetFontColor(selected ? TSysColor::HighlightText : TSysColor::WindowText);
}

void TCustomListBox::PaintItemFace(int index, const TRect& rect) {
    Canvas().FillRect(rect);
    if (index >= 0 && index < Items().Count()) {
        Canvas().TextOut(rect.Left + 2, rect.Top, Items()[index]);
    }
}

void TCustomListBox::CNDrawItem(TDrawItemStruct& drawItem) {
    PrepareCanvas(drawItem.State);
    DrawItem(drawItem.ItemID, drawItem.Rect, drawItem.State);
    if (drawItem.State & odFocused) {
        Canvas().DrawFocusRect(drawItem.Rect);
    }
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
    } else {
        PaintItemFace(index, rect);
    }
}

void TCustomListBox::KeyPress(char& key) {
    if (OnKeyPress) {
        OnKeyPress(this, key);
    }
}

void TCustomListBox::MouseDown(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/,
                               int /*y*/) {}

// A list that is not owner-drawn takes its row height from the new font by itself.
void TCustomListBox::CMFontChanged() {
    if (HandleAllocated()) {
        InvalidateRect(Widget().Handle, nullptr, TRUE);
    }
}

void TCustomListBox::RepaintRect(const TRect& rect) {
    TListBoxWidget& widget = Widget();
    if (widget.Allocated()) {
        const RECT area = ToRECT(rect);
        InvalidateRect(widget.Handle, &area, TRUE);
        UpdateWindow(widget.Handle);
    }
}
