#include "platform/widgets/list_box.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QAbstractItemDelegate>
#include <QAbstractListModel>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

TShiftState ShiftOf(const QMouseEvent& event) {
    const Qt::KeyboardModifiers keys = event.modifiers();
    const Qt::MouseButtons buttons = event.buttons();
    const std::pair<bool, TShiftFlag> held[] = {{keys.testFlag(Qt::ShiftModifier), ssShift},
                                                {keys.testFlag(Qt::AltModifier), ssAlt},
                                                {keys.testFlag(Qt::ControlModifier), ssCtrl},
                                                {buttons.testFlag(Qt::LeftButton), ssLeft},
                                                {buttons.testFlag(Qt::RightButton), ssRight},
                                                {buttons.testFlag(Qt::MiddleButton), ssMiddle}};
    TShiftState shift = 0;
    for (const auto& [down, flag] : held) {
        if (down) {
            shift |= flag;
        }
    }
    return shift;
}

// The items: each its text, byte for byte, and its data word. Items appended while the list is
// being updated reach the view together, one signal for them all, once it needs them.
class TItemModel : public QAbstractListModel {
public:
    struct TItem {
        std::string Text;
        std::intptr_t Data = 0;
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Shown;
    }
    // The text is for assistive tools; the list box paints the rows.
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
            return {};
        }
        return FromFileName(Items[static_cast<std::size_t>(index.row())].Text);
    }

    void Append(std::string text, bool held) {
        Items.push_back({std::move(text), 0});
        if (!held) {
            Show();
        }
    }
    // Tells the view of the items appended since it last heard of them.
    void Show() {
        if (Shown < static_cast<int>(Items.size())) {
            beginInsertRows({}, Shown, static_cast<int>(Items.size()) - 1);
            Shown = static_cast<int>(Items.size());
            endInsertRows();
        }
    }
    void Delete(int row) {
        Show();
        beginRemoveRows({}, row, row);
        Items.erase(Items.begin() + row);
        --Shown;
        endRemoveRows();
    }
    void Clear() {
        beginResetModel();
        std::vector<TItem>().swap(Items);
        Shown = 0;
        endResetModel();
    }

    std::vector<TItem> Items;

private:
    int Shown = 0; // the items that the view knows
};

// Paints the rows of a view through Paint, all Height high.
class TRowPainter : public QAbstractItemDelegate {
public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        Paint(*painter, option.rect, index.row());
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {0, Height};
    }

    std::function<void(QPainter& painter, const QRect& rect, int row)> Paint;
    int Height = 16;
};

// The list's window lives in this view: while Allocated, its model holds the items. Qt keeps
// the current item, scrolls a row at a time and moves through the rows by keyboard.
class TListBoxWidget : public QListView, public TListBoxWindow {
public:
    TListBoxWidget(QWidget* parent, TCustomListBox& owner)
        : QListView(parent), Owner(owner), Model(new TItemModel(this)) {
        Rows.Paint = [this](QPainter& painter, const QRect& rect, int row) {
            PaintRow(painter, rect, row);
        };
        setModel(Model);
        setItemDelegate(&Rows);
        setUniformItemSizes(true);
        setVerticalScrollMode(ScrollPerItem);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setEditTriggers(NoEditTriggers);
    }
    ~TListBoxWidget() override { setItemDelegate(nullptr); }

    bool Exists() const override { return Allocated; }

    void Create(TListBoxStyle style, int rowHeight) override {
        Allocated = true;
        WindowStyle = style;
        Rows.Height = OwnerDrawn() ? rowHeight : FontRowHeight();
        scheduleDelayedItemsLayout();
    }

    void Destroy() override {
        Allocated = false;
        Model->Clear();
    }

    int Count() const override { return static_cast<int>(Model->Items.size()); }
    const std::string& Text(int index) const override { return Item(index).Text; }
    std::intptr_t Data(int index) const override { return Item(index).Data; }
    void SetData(int index, std::intptr_t word) override {
        Model->Items[static_cast<std::size_t>(index)].Data = word;
    }
    void Append(std::string text) override { Model->Append(std::move(text), UpdateCount > 0); }
    // The view would make the next item current; the list box has none left then.
    void Delete(int index) override {
        if (index == Current()) {
            setCurrentIndex({});
        }
        Model->Delete(index);
    }
    void Clear() override { Model->Clear(); }

    void BeginUpdate() override { ++UpdateCount; }
    void EndUpdate() override {
        if (UpdateCount > 0 && --UpdateCount == 0) {
            Model->Show();
        }
    }

    int Current() const override {
        const QModelIndex current = currentIndex();
        return current.isValid() ? current.row() : -1;
    }
    void SetCurrent(int index) override {
        Model->Show();
        const QModelIndex item = Model->index(index);
        setCurrentIndex(item);
        if (item.isValid()) {
            scrollTo(item);
        }
    }

    // A row at a time: the scroll bar's value is the first row shown.
    int Top() const override {
        LaidOut();
        return verticalScrollBar()->value();
    }
    void SetTop(int index) override {
        Model->Show();
        LaidOut();
        verticalScrollBar()->setValue(index);
    }

    int RowHeight() const override { return Rows.Height; }
    int VisibleRows() const override { return viewport()->height() / Rows.Height; }
    bool SetRowHeight(int height) override {
        Rows.Height = height;
        scheduleDelayedItemsLayout();
        return true;
    }

    // The rows are all one height from the first shown on, as the view lays them out: so also
    // for the items that the view has not heard of yet, and without asking it for every row.
    TRect ItemRect(int index) const override {
        const int top = (index - Top()) * Rows.Height;
        return {0, top, viewport()->width(), top + Rows.Height};
    }

    int ItemAt(TPoint point) const override {
        Model->Show();
        const QPoint at(point.X, point.Y);
        const QModelIndex item = viewport()->rect().contains(at) ? indexAt(at) : QModelIndex();
        return item.isValid() ? item.row() : -1;
    }

    void Repaint(const TRect& rect) override {
        const QRect area = ToQRect(rect) & viewport()->rect();
        if (!area.isEmpty()) {
            viewport()->repaint(area);
        }
    }

    void FontChanged() override {
        if (Allocated && !OwnerDrawn()) {
            Rows.Height = FontRowHeight();
            scheduleDelayedItemsLayout();
        }
    }

protected:
    // A left press makes the item under it current, other buttons move nothing; then the list
    // box hears of it. The second press of a double click is a press all the same.
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
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

    // The view moves through the rows; a key that types one ASCII character reaches KeyPress;
    // any other goes to the parent.
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            QListView::keyPressEvent(event);
            return;
        default:
            break;
        }
        const QString text = event->text();
        if (text.size() != 1 || text[0].unicode() == 0 || text[0].unicode() >= 0x80) {
            event->ignore();
            return;
        }
        event->accept();
        char key = static_cast<char>(text[0].unicode());
        GuardedCall([&] { KeyPress(Owner, key); });
    }

    // From no current item, End goes to the last row as well; the view goes to the first.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action == MoveEnd && !currentIndex().isValid()) {
            return Model->index(Count() - 1);
        }
        return QListView::moveCursor(action, modifiers);
    }

    // Taking the focus makes no item current, as the view would; the focused row shows it.
    void focusInEvent(QFocusEvent* event) override {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
    }

private:
    void PaintRow(QPainter& painter, const QRect& rect, int index) {
        const TCanvasPainting painting(Owner.Canvas(), painter);
        TDrawItemStruct drawItem{index, ToTRect(rect), ItemStateOf(index)};
        if (OwnerDrawn()) {
            DrawItem(Owner, drawItem);
        } else {
            PaintPlainItem(Owner, drawItem);
        }
    }

    bool OwnerDrawn() const { return WindowStyle != TListBoxStyle::Standard; }
    // The row height of a list that is not owner-drawn.
    int FontRowHeight() const { return std::clamp(QFontMetrics(font()).height(), 1, MaxRowHeight); }
    const TItemModel::TItem& Item(int index) const {
        return Model->Items[static_cast<std::size_t>(index)];
    }
    // Rows added or resized since are laid out, and the scroll bar knows them.
    void LaidOut() const { const_cast<TListBoxWidget*>(this)->executeDelayedItemsLayout(); }

    TOwnerDrawState ItemStateOf(int index) const {
        TOwnerDrawState state = 0;
        if (index == Current()) {
            state |= odSelected;
            if (hasFocus()) {
                state |= odFocused;
            }
        }
        return state;
    }

    TCustomListBox& Owner;
    TItemModel* Model; // owned by the view
    TRowPainter Rows;
    bool Allocated = false;
    TListBoxStyle WindowStyle = TListBoxStyle::Standard;
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
