// What every toolkit shares of the list box; the toolkit's half is in qt/list_box.cpp and
// win32/list_box.cpp.
#include "platform/widgets/list_box.h"

#include "platform/exceptions.h"
#include "platform/widgets/toolkit.h"

#include <algorithm>

// Items

int TListBoxStrings::Count() const {
    return Owner.Window().Count();
}

const std::string& TListBoxStrings::operator[](int index) const {
    if (!Owner.ValidIndex(index)) {
        throw EListError::IndexError(index);
    }
    return Owner.Window().Text(index);
}

int TListBoxStrings::Add(std::string text) {
    Owner.HandleNeeded();
    TListBoxWindow& window = Owner.Window();
    window.Append(std::move(text));
    return window.Count() - 1;
}

void TListBoxStrings::Delete(int index) {
    Owner.DeleteString(index);
}

void TListBoxStrings::Clear() {
    Owner.ResetContent();
}

void TListBoxStrings::BeginUpdate() {
    Owner.Window().BeginUpdate();
}

void TListBoxStrings::EndUpdate() {
    Owner.Window().EndUpdate();
}

// The list box

TCustomListBox::~TCustomListBox() = default;

TListBoxWindow& TCustomListBox::Window() const {
    return ListBoxWindow(Impl());
}

bool TCustomListBox::ValidIndex(int index) const {
    return index >= 0 && index < Window().Count();
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
    if (style != ListStyle) {
        ListStyle = style;
        RecreateWnd();
    }
}

int TCustomListBox::ItemHeight() const {
    if (HandleAllocated() && ListStyle == TListBoxStyle::Standard) {
        return Window().RowHeight();
    }
    return ItemHeightValue;
}

void TCustomListBox::SetItemHeight(int height) {
    if (height < 1) {
        return;
    }
    ItemHeightValue = height;
    if (ListStyle != TListBoxStyle::Standard) {
        SetRowHeight(height);
    }
}

TRect TCustomListBox::ItemRect(int index) const {
    return ValidIndex(index) ? Window().ItemRect(index) : TRect{};
}

int TCustomListBox::ItemAtPos(TPoint pos) const {
    if (!HandleAllocated()) {
        return -1;
    }
    const int index = Window().ItemAt(pos);
    return ValidIndex(index) ? index : -1;
}

int TCustomListBox::ItemIndex() const {
    return Window().Current();
}

void TCustomListBox::SetItemIndex(int index) {
    if (HandleAllocated()) {
        Window().SetCurrent(ValidIndex(index) ? index : -1);
    }
}

int TCustomListBox::TopIndex() const {
    return Window().Top();
}

void TCustomListBox::SetTopIndex(int index) {
    if (HandleAllocated() && ValidIndex(index)) {
        Window().SetTop(index);
    }
}

int TCustomListBox::VisibleItemCount() const {
    return HandleAllocated() ? std::max(1, Window().VisibleRows()) : 1;
}

bool TCustomListBox::HandleAllocated() const {
    return Window().Exists();
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

bool TCustomListBox::SetRowHeight(int height) {
    return HandleAllocated() && height >= 1 && height <= MaxRowHeight &&
           Window().SetRowHeight(height);
}

std::intptr_t TCustomListBox::GetItemData(int index) const {
    return ValidIndex(index) ? Window().Data(index) : -1;
}

void TCustomListBox::SetItemData(int index, std::intptr_t value) {
    if (!ValidIndex(index)) {
        throw EListError::IndexError(index);
    }
    Window().SetData(index, value);
}

void TCustomListBox::DeleteString(int index) {
    if (!ValidIndex(index)) {
        throw EListError::IndexError(index);
    }
    Window().Delete(index);
}

void TCustomListBox::ResetContent() {
    Window().Clear();
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    params.Style = ListStyle;
}

void TCustomListBox::CreateWnd() {
    TListBoxWindow& window = Window();
    if (window.Exists()) {
        return;
    }
    TCreateParams params;
    CreateParams(params);
    window.Create(params.Style, std::min(ItemHeightValue, MaxRowHeight));
    if (!Saved) {
        return;
    }
    TSavedWindow saved = std::move(*Saved);
    Saved.reset();
    struct TUpdateLock {
        explicit TUpdateLock(TListBoxWindow& w) : Locked(w) { Locked.BeginUpdate(); }
        ~TUpdateLock() { Locked.EndUpdate(); }
        TListBoxWindow& Locked;
    };
    {
        const TUpdateLock lock(window);
        for (TSavedItem& item : saved.Items) {
            window.Append(std::move(item.Text));
            SetItemData(window.Count() - 1, item.Data);
        }
    }
    window.SetCurrent(ValidIndex(saved.ItemIndex) ? saved.ItemIndex : -1);
    window.SetTop(saved.TopIndex);
}

void TCustomListBox::DestroyWnd() {
    TListBoxWindow& window = Window();
    if (!window.Exists()) {
        return;
    }
    const int count = window.Count();
    if (count > 0) {
        TSavedWindow saved;
        saved.Items.resize(static_cast<std::size_t>(count));
        // All data first: a derived GetItemData may look at any item's text.
        for (int index = 0; index < count; ++index) {
            saved.Items[static_cast<std::size_t>(index)].Data = GetItemData(index);
        }
        for (int index = 0; index < count; ++index) {
            saved.Items[static_cast<std::size_t>(index)].Text = window.Text(index);
        }
        saved.ItemIndex = window.Current();
        saved.TopIndex = window.Top();
        Saved = std::move(saved);
    }
    window.Destroy();
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

void TCustomListBox::PaintPlainItem(const TDrawItemStruct& drawItem) {
    PrepareCanvas(drawItem.State);
    PaintItemFace(drawItem.ItemID, drawItem.Rect);
    if (drawItem.State & odFocused) {
        Canvas().DrawFocusRect(drawItem.Rect);
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

void TCustomListBox::CMFontChanged() {
    Window().FontChanged();
}

void TCustomListBox::RepaintRect(const TRect& rect) {
    if (HandleAllocated()) {
        Window().Repaint(rect);
    }
}

TAccessibleCheck TCustomListBox::AccessibleCheck(int /*index*/) const {
    return TAccessibleCheck::None;
}

void TCustomListBox::AccessibleAction(int /*index*/) {}

void TCustomListBox::AccessibleCheckChanged(int index) {
    if (HandleAllocated()) {
        Window().AccessibleCheckChanged(index);
    }
}
