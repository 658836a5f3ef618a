#include "platform/widgets/list_box.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QAbstractItemDelegate>
#include <QAbstractListModel>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

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

QAccessibleInterface* ListAccessibleFactory(const QString& className, QObject* object);

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
        static const bool accessible = [] {
            QAccessible::installFactory(ListAccessibleFactory);
            return true;
        }();
        (void)accessible;
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

    void AccessibleCheckChanged(int index) override {
        QAccessible::State changed;
        changed.checked = true;
        changed.checkStateMixed = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }

    // What assistive tools read of the list and its rows.
    TCustomListBox& List() const { return Owner; }
    TAccessibleCheck ItemCheck(int index) const { return AccessibleCheck(Owner, index); }
    QString RowName(int index) const { return FromFileName(Text(index)); }
    // Only the row that the keyboard is at has the focus, and only while the list has it.
    bool RowFocused(int index) const { return hasFocus() && index == Current(); }
    // In screen coordinates.
    QRect RowRect(int index) const {
        return QRect(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size()) &
               ToQRect(ItemRect(index)).translated(viewport()->mapToGlobal(QPoint(0, 0)));
    }
    int RowAtScreen(QPoint at) const {
        const QPoint local = viewport()->mapFromGlobal(at);
        return ItemAt({local.x(), local.y()});
    }
    // The action waits with the user's input: it comes from outside the program, through the
    // event loop, at any moment.
    void PostAccessibleAction(int index) {
        QCoreApplication::postEvent(
            this, new TAccessibleActionEvent([this, index] { AccessibleAction(Owner, index); }));
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

    void customEvent(QEvent* event) override {
        if (event->type() == TAccessibleActionEvent::EventType()) {
            GuardedCall(static_cast<TAccessibleActionEvent*>(event)->Action);
        }
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

// A row as assistive tools read it: a check box named by the item's text, or a plain row where the
// list has no check boxes, with the one action of toggling its check. Only valid while the list
// has the row.
class TRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TRowAccessible(TListBoxWidget* list, int row) : List(list), Row(row) {}

    bool isValid() const override { return List && Row < List->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return List ? List->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(List.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override {
        return isValid() && kind == QAccessible::Name ? List->RowName(Row) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return isValid() ? List->RowRect(Row) : QRect(); }
    QAccessible::Role role() const override {
        return Check() == TAccessibleCheck::None ? QAccessible::ListItem : QAccessible::CheckBox;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = Row == List->Current();
        state.focused = List->RowFocused(Row);
        state.invisible = !List->isVisible() || List->RowRect(Row).isEmpty();
        state.offscreen = state.invisible;
        const TAccessibleCheck check = Check();
        state.checkable = check != TAccessibleCheck::None;
        // As Qt's own check boxes tell the grey state.
        state.checked = check == TAccessibleCheck::Checked;
        state.checkStateMixed = check == TAccessibleCheck::Mixed;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface && Check() != TAccessibleCheck::None
                   ? static_cast<QAccessibleActionInterface*>(this)
                   : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (isValid() && name == toggleAction()) {
            List->PostAccessibleAction(Row);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList();
    }

    int Index() const { return Row; }

private:
    TAccessibleCheck Check() const {
        return isValid() ? List->ItemCheck(Row) : TAccessibleCheck::None;
    }

    QPointer<TListBoxWidget> List;
    int Row;
};

// The list as assistive tools read it: a list named as the program names it, whose children
// are its rows and nothing else (not its scroll bars). Qt keeps the rows' interfaces by their
// number and hands them out again; they go with the list.
class TListAccessible : public QAccessibleWidget {
public:
    explicit TListAccessible(TListBoxWidget* list)
        : QAccessibleWidget(list, QAccessible::List), List(list) {}
    ~TListAccessible() override {
        for (const QAccessible::Id id : RowIds) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return FromFileName(List->List().AccessibleName());
        }
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return List->Count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= List->Count()) {
            return nullptr;
        }
        const auto slot = static_cast<std::size_t>(index);
        while (RowIds.size() <= slot) {
            RowIds.push_back(QAccessible::registerAccessibleInterface(
                new TRowAccessible(List, static_cast<int>(RowIds.size()))));
        }
        return QAccessible::accessibleInterface(RowIds[slot]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* row = dynamic_cast<const TRowAccessible*>(child);
        return row && row->parent() == this ? row->Index() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(List->RowAtScreen({x, y}));
    }
    QAccessibleInterface* focusChild() const override {
        return List->hasFocus() ? child(List->Current()) : nullptr;
    }

private:
    TListBoxWidget* List;
    mutable std::vector<QAccessible::Id> RowIds;
};

QAccessibleInterface* ListAccessibleFactory(const QString&, QObject* object) {
    auto* list = dynamic_cast<TListBoxWidget*>(object);
    return list ? new TListAccessible(list) : nullptr;
}

} // namespace

TCustomListBox::TCustomListBox(TControl* parent)
    : TControl(parent,
               std::make_unique<TControlImpl>(new TListBoxWidget(ParentWidget(parent), *this))),
      CanvasPtr(std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(QtWidget(*this)))) {}

TListBoxWindow& ListBoxWindow(TControlImpl& impl) {
    return static_cast<TListBoxWidget&>(*impl.Widget);
}
