#include "platform/widgets/list_box.h"

#include "platform/exceptions.h"
#include "platform/widgets/application.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// The tallest row a list window accepts; it also keeps row arithmetic far from overflow.
constexpr int MaxRowHeight = 255;

TShiftState ShiftOf(const QMouseEvent& event) {
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event.modifiers();
    const Qt::MouseButtons buttons = event.buttons();
    if (keys & Qt::ShiftModifier) {
        shift |= ssShift;
    }
    if (keys & Qt::AltModifier) {
        shift |= ssAlt;
    }
    if (keys & Qt::ControlModifier) {
        shift |= ssCtrl;
    }
    if (buttons & Qt::LeftButton) {
        shift |= ssLeft;
    }
    if (buttons & Qt::RightButton) {
        shift |= ssRight;
    }
    if (buttons & Qt::MiddleButton) {
        shift |= ssMiddle;
    }
    return shift;
}

} // namespace

// The list's window lives in this widget: while Allocated, it holds the items, the current
// item and the row height. The viewport is the client area.
class TListBoxWidget : public QAbstractScrollArea {
public:
    struct TItem {
        std::string Text;
        std::intptr_t Data = 0;
    };

    TListBoxWidget(QWidget* parent, TCustomListBox& owner)
        : QAbstractScrollArea(parent), Owner(owner) {
        setFocusPolicy(Qt::StrongFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    void CreateWindow(unsigned style, int rowHeight) {
        Allocated = true;
        WindowStyle = style;
        RowHeight = rowHeight;
        Current = -1;
        verticalScrollBar()->setValue(0);
        Relayout();
    }

    void DestroyWindow() {
        Allocated = false;
        std::vector<TItem>().swap(Items);
        Current = -1;
        Relayout();
    }

    bool OwnerDrawn() const {
        return (WindowStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    }
    // The row height of a list that is not owner-drawn.
    int FontRowHeight() const { return std::clamp(QFontMetrics(font()).height(), 1, MaxRowHeight); }

    int Count() const { return static_cast<int>(Items.size()); }
    bool Valid(int index) const { return Allocated && index >= 0 && index < Count(); }
    int Top() const { return verticalScrollBar()->value(); }
    int FullRows() const { return std::max(1, viewport()->height() / RowHeight); }
    TRect RowRect(int index) const {
        const int top = (index - Top()) * RowHeight;
        return {0, top, viewport()->width(), top + RowHeight};
    }

    void Relayout() {
        if (UpdateCount > 0) {
            return;
        }
        const int rows = FullRows();
        verticalScrollBar()->setRange(0, std::max(0, Count() - rows));
        verticalScrollBar()->setPageStep(rows);
        verticalScrollBar()->setSingleStep(1);
        viewport()->update();
    }

    void SetCurrent(int index) {
        if (Valid(Current)) {
            viewport()->update(ToQRect(RowRect(Current)));
        }
        Current = Valid(index) ? index : -1;
        if (Current >= 0) {
            ScrollIntoView(Current);
            viewport()->update(ToQRect(RowRect(Current)));
        }
    }

    void ScrollIntoView(int index) {
        const int rows = FullRows();
        if (index < Top()) {
            verticalScrollBar()->setValue(index);
        } else if (index >= Top() + rows) {
            verticalScrollBar()->setValue(index - rows + 1);
        }
    }

    bool Allocated = false;
    unsigned WindowStyle = 0;
    int RowHeight = 16;
    std::vector<TItem> Items;
    int Current = -1;
    int UpdateCount = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!Allocated || Items.empty()) {
            return; // the viewport has filled its background already
        }
        const QRect area = event->rect();
        const int first = Top() + std::max(0, area.top()) / RowHeight;
        const int last = std::min(Count() - 1, Top() + std::max(0, area.bottom()) / RowHeight);
        QPainter painter(viewport());
        const TCanvasPainting painting(Owner.Canvas(), painter);
        for (int index = first; index <= last; ++index) {
            TDrawItemStruct drawItem{index, RowRect(index), ItemStateOf(index)};
            if (OwnerDrawn()) {
                Owner.CNDrawItem(drawItem);
            } else {
                Owner.PaintPlainItem(drawItem);
            }
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        TMouseButton button;
        switch (event->button()) {
        case Qt::LeftButton:
            button = TMouseButton::Left;
            break;
        case Qt::RightButton:
            button = TMouseButton::Right;
            break;
        case Qt::MiddleButton:
            button = TMouseButton::Middle;
            break;
        default:
            event->ignore();
            return;
        }
        const QPoint at = event->position().toPoint();
        if (button == TMouseButton::Left) {
            const int index = Owner.ItemAtPos({at.x(), at.y()});
            if (index >= 0) {
                SetCurrent(index);
            }
        }
        event->accept();
        const TShiftState shift = ShiftOf(*event);
        GuardedCall([&] { Owner.MouseDown(button, shift, at.x(), at.y()); });
    }

    // Qt hands the second press of a double click over as a double click; it is a press all
    // the same.
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }

    void keyPressEvent(QKeyEvent* event) override {
        const int last = Count() - 1;
        const int page = std::max(1, FullRows() - 1);
        int target = 0;
        switch (event->key()) {
        case Qt::Key_Up:
            target = Current - 1;
            break;
        case Qt::Key_Down:
            target = Current + 1;
            break;
        case Qt::Key_PageUp:
            target = Current - page;
            break;
        case Qt::Key_PageDown:
            target = Current + page;
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = last;
            break;
        default:
            TypeCharacter(event);
            return;
        }
        event->accept();
        if (last >= 0) {
            SetCurrent(std::clamp(target, 0, last));
        }
    }

    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        Relayout();
    }

    void focusInEvent(QFocusEvent* event) override {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
    }

    void focusOutEvent(QFocusEvent* event) override {
        QAbstractScrollArea::focusOutEvent(event);
        viewport()->update();
    }

private:
    TOwnerDrawState ItemStateOf(int index) const {
        TOwnerDrawState state = 0;
        if (index == Current) {
            state |= odSelected;
            if (hasFocus()) {
                state |= odFocused;
            }
        }
        if (!isEnabled()) {
            state |= odDisabled;
        }
        return state;
    }

    // A key that types one ASCII character reaches KeyPress; any other goes to the parent.
    void TypeCharacter(QKeyEvent* event) {
        const QString text = event->text();
        if (text.size() != 1 || text[0].unicode() == 0 || text[0].unicode() >= 0x80) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        event->accept();
        char key = static_cast<char>(text[0].unicode());
        GuardedCall([&] { Owner.KeyPress(key); });
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
    return widget.Items[static_cast<std::size_t>(index)].Text;
}

int TListBoxStrings::Add(std::string text) {
    Owner.HandleNeeded();
    TListBoxWidget& widget = Owner.Widget();
    widget.Items.push_back({std::move(text), 0});
    widget.Relayout();
    return widget.Count() - 1;
}

void TListBoxStrings::Delete(int index) {
    Owner.DeleteString(index);
}

void TListBoxStrings::Clear() {
    Owner.ResetContent();
}

void TListBoxStrings::BeginUpdate() {
    ++Owner.Widget().UpdateCount;
}

void TListBoxStrings::EndUpdate() {
    TListBoxWidget& widget = Owner.Widget();
    if (widget.UpdateCount > 0 && --widget.UpdateCount == 0) {
        widget.Relayout();
    }
}

// The list box

TCustomListBox::TCustomListBox(TControl* parent)
    : TControl(parent,
               std::make_unique<TControlImpl>(new TListBoxWidget(ParentWidget(parent), *this))),
      CanvasPtr(std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(QtWidget(*this)))) {}

TCustomListBox::~TCustomListBox() = default;

TListBoxWidget& TCustomListBox::Widget() const {
    return static_cast<TListBoxWidget&>(*QtWidget(*this));
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
    if (style != ListStyle) {
        ListStyle = style;
        RecreateWnd();
    }
}

int TCustomListBox::ItemHeight() const {
    if (HandleAllocated() && ListStyle == TListBoxStyle::Standard) {
        return Widget().RowHeight;
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
    return widget.Valid(index) ? widget.RowRect(index) : TRect{};
}

int TCustomListBox::ItemAtPos(TPoint pos) const {
    const TListBoxWidget& widget = Widget();
    if (!widget.Allocated || !widget.viewport()->rect().contains(pos.X, pos.Y)) {
        return -1;
    }
    const int index = widget.Top() + pos.Y / widget.RowHeight;
    return widget.Valid(index) ? index : -1;
}

int TCustomListBox::ItemIndex() const {
    return Widget().Current;
}

void TCustomListBox::SetItemIndex(int index) {
    Widget().SetCurrent(index);
}

int TCustomListBox::TopIndex() const {
    return Widget().Top();
}

bool TCustomListBox::HandleAllocated() const {
    return Widget().Allocated;
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
    if (msg != LB_SETITEMHEIGHT || !HandleAllocated() || lParam < 1 || lParam > MaxRowHeight) {
        return LB_ERR;
    }
    TListBoxWidget& widget = Widget();
    widget.RowHeight = static_cast<int>(lParam);
    widget.Relayout();
    return 0;
}

std::intptr_t TCustomListBox::GetItemData(int index) const {
    const TListBoxWidget& widget = Widget();
    return widget.Valid(index) ? widget.Items[static_cast<std::size_t>(index)].Data : -1;
}

void TCustomListBox::SetItemData(int index, std::intptr_t value) {
    TListBoxWidget& widget = Widget();
    if (!widget.Valid(index)) {
        throw EListError::IndexError(index);
    }
    widget.Items[static_cast<std::size_t>(index)].Data = value;
}

void TCustomListBox::DeleteString(int index) {
    TListBoxWidget& widget = Widget();
    if (!widget.Valid(index)) {
        throw EListError::IndexError(index);
    }
    widget.Items.erase(widget.Items.begin() + index);
    if (widget.Current == index) {
        widget.Current = -1;
    } else if (widget.Current > index) {
        --widget.Current;
    }
    widget.Relayout();
}

void TCustomListBox::ResetContent() {
    TListBoxWidget& widget = Widget();
    widget.Items.clear();
    widget.Current = -1;
    widget.Relayout();
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
    if (widget.Allocated) {
        return;
    }
    TCreateParams params;
    CreateParams(params);
    // No item is ever measured: variable rows are as high as fixed ones.
    const bool ownerDrawn = (params.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    widget.CreateWindow(params.Style, ownerDrawn ? std::min(ItemHeightValue, MaxRowHeight)
                                                 : widget.FontRowHeight());
    if (!Saved) {
        return;
    }
    TSavedWindow saved = std::move(*Saved);
    Saved.reset();
    struct TUpdateLock {
        explicit TUpdateLock(TListBoxWidget& w) : Locked(w) { ++Locked.UpdateCount; }
        ~TUpdateLock() {
            --Locked.UpdateCount;
            Locked.Relayout();
        }
        TListBoxWidget& Locked;
    };
    {
        const TUpdateLock lock(widget);
        widget.Items.reserve(saved.Items.size());
        for (TSavedItem& item : saved.Items) {
            widget.Items.push_back({std::move(item.Text), 0});
            SetItemData(widget.Count() - 1, item.Data);
        }
    }
    widget.verticalScrollBar()->setValue(saved.TopIndex);
    widget.Current = widget.Valid(saved.ItemIndex) ? saved.ItemIndex : -1;
}

void TCustomListBox::DestroyWnd() {
    TListBoxWidget& widget = Widget();
    if (!widget.Allocated) {
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
                std::move(widget.Items[static_cast<std::size_t>(index)].Text);
        }
        saved.ItemIndex = widget.Current;
        saved.TopIndex = widget.Top();
        Saved = std::move(saved);
    }
    widget.DestroyWindow();
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
    TListBoxWidget& widget = Widget();
    if (widget.Allocated && !widget.OwnerDrawn()) {
        widget.RowHeight = widget.FontRowHeight();
    }
    widget.Relayout();
}

void TCustomListBox::RepaintRect(const TRect& rect) {
    TListBoxWidget& widget = Widget();
    const QRect area = ToQRect(rect) & widget.viewport()->rect();
    if (widget.Allocated && !area.isEmpty()) {
        widget.viewport()->repaint(area);
    }
}
