#include "platform/widgets/list_box.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

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

// The list's window lives in this widget: while Allocated, it holds the items, the current
// item and the row height. The viewport is the client area.
class TListBoxWidget : public QAbstractScrollArea, public TListBoxWindow {
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

    bool Exists() const override { return Allocated; }

    void Create(TListBoxStyle style, int rowHeight) override {
        Allocated = true;
        WindowStyle = style;
        RowHeightValue = OwnerDrawn() ? rowHeight : FontRowHeight();
        CurrentIndex = -1;
        verticalScrollBar()->setValue(0);
        Relayout();
    }

    void Destroy() override {
        Allocated = false;
        std::vector<TItem>().swap(Items);
        CurrentIndex = -1;
        Relayout();
    }

    int Count() const override { return static_cast<int>(Items.size()); }
    const std::string& Text(int index) const override { return Item(index).Text; }
    std::intptr_t Data(int index) const override { return Item(index).Data; }
    void SetData(int index, std::intptr_t word) override {
        Items[static_cast<std::size_t>(index)].Data = word;
    }

    void Append(std::string text) override {
        Items.push_back({std::move(text), 0});
        Relayout();
    }

    void Delete(int index) override {
        Items.erase(Items.begin() + index);
        if (CurrentIndex == index) {
            CurrentIndex = -1;
        } else if (CurrentIndex > index) {
            --CurrentIndex;
        }
        Relayout();
    }

    void Clear() override {
        Items.clear();
        CurrentIndex = -1;
        Relayout();
    }

    void BeginUpdate() override { ++UpdateCount; }
    void EndUpdate() override {
        if (UpdateCount > 0 && --UpdateCount == 0) {
            Relayout();
        }
    }

    int Current() const override { return CurrentIndex; }
    void SetCurrent(int index) override {
        if (Valid(CurrentIndex)) {
            viewport()->update(ToQRect(ItemRect(CurrentIndex)));
        }
        CurrentIndex = Valid(index) ? index : -1;
        if (CurrentIndex >= 0) {
            ScrollIntoView(CurrentIndex);
            viewport()->update(ToQRect(ItemRect(CurrentIndex)));
        }
    }

    int Top() const override { return verticalScrollBar()->value(); }
    void SetTop(int index) override { verticalScrollBar()->setValue(index); }

    int RowHeight() const override { return RowHeightValue; }
    int VisibleRows() const override { return FullRows(); }
    bool SetRowHeight(int height) override {
        RowHeightValue = height;
        Relayout();
        return true;
    }

    TRect ItemRect(int index) const override {
        const int top = (index - Top()) * RowHeightValue;
        return {0, top, viewport()->width(), top + RowHeightValue};
    }

    int ItemAt(TPoint point) const override {
        return viewport()->rect().contains(point.X, point.Y) ? Top() + point.Y / RowHeightValue
                                                             : -1;
    }

    void Repaint(const TRect& rect) override {
        const QRect area = ToQRect(rect) & viewport()->rect();
        if (!area.isEmpty()) {
            viewport()->repaint(area);
        }
    }

    void FontChanged() override {
        if (Allocated && !OwnerDrawn()) {
            RowHeightValue = FontRowHeight();
        }
        Relayout();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!Allocated || Items.empty()) {
            return; // the viewport has filled its background already
        }
        const QRect area = event->rect();
        const int first = Top() + std::max(0, area.top()) / RowHeightValue;
        const int last = std::min(Count() - 1, Top() + std::max(0, area.bottom()) / RowHeightValue);
        QPainter painter(viewport());
        const TCanvasPainting painting(Owner.Canvas(), painter);
        for (int index = first; index <= last; ++index) {
            TDrawItemStruct drawItem{index, ItemRect(index), ItemStateOf(index)};
            if (OwnerDrawn()) {
                DrawItem(Owner, drawItem);
            } else {
                PaintPlainItem(Owner, drawItem);
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
        GuardedCall([&] { MouseDown(Owner, button, shift, at.x(), at.y()); });
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
            target = CurrentIndex - 1;
            break;
        case Qt::Key_Down:
            target = CurrentIndex + 1;
            break;
        case Qt::Key_PageUp:
            target = CurrentIndex - page;
            break;
        case Qt::Key_PageDown:
            target = CurrentIndex + page;
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

    // The rows still shown move as they are; only those that come into view are painted.
    void scrollContentsBy(int dx, int dy) override { viewport()->scroll(dx, dy * RowHeightValue); }

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
    bool OwnerDrawn() const { return WindowStyle != TListBoxStyle::Standard; }
    // The row height of a list that is not owner-drawn.
    int FontRowHeight() const { return std::clamp(QFontMetrics(font()).height(), 1, MaxRowHeight); }
    bool Valid(int index) const { return Allocated && index >= 0 && index < Count(); }
    const TItem& Item(int index) const { return Items[static_cast<std::size_t>(index)]; }
    int FullRows() const { return std::max(1, viewport()->height() / RowHeightValue); }

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

    void ScrollIntoView(int index) {
        const int rows = FullRows();
        if (index < Top()) {
            verticalScrollBar()->setValue(index);
        } else if (index >= Top() + rows) {
            verticalScrollBar()->setValue(index - rows + 1);
        }
    }

    TOwnerDrawState ItemStateOf(int index) const {
        TOwnerDrawState state = 0;
        if (index == CurrentIndex) {
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
        GuardedCall([&] { KeyPress(Owner, key); });
    }

    TCustomListBox& Owner;
    bool Allocated = false;
    TListBoxStyle WindowStyle = TListBoxStyle::Standard;
    int RowHeightValue = 16;
    std::vector<TItem> Items;
    int CurrentIndex = -1;
    int UpdateCount = 0;
};

} // namespace

TCustomListBox::TCustomListBox(TControl* parent)
    : TControl(parent,
               std::make_unique<TControlImpl>(new TListBoxWidget(ParentWidget(parent), *this))),
      CanvasPtr(std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(QtWidget(*this)))) {}

TListBoxWindow& ListBoxWindow(TControlImpl& impl) {
    return static_cast<TListBoxWidget&>(*impl.Widget);
}
