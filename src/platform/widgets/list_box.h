#pragma once

#include "platform/widgets/canvas.h"
#include "platform/widgets/control.h"
#include "platform/widgets/types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TCustomListBox;
class TListBoxWindow; // the toolkit's window behind a list box

// Who paints the rows: the list itself, in rows as high as its font, or DrawItem, in rows of
// ItemHeight.
enum class TListBoxStyle { Standard, OwnerDrawFixed };

// How an item is to be painted.
enum TOwnerDrawFlag : unsigned {
    odSelected = 1,
    odFocused = 2,
};
using TOwnerDrawState = unsigned;

// What assistive tools (a screen reader) are told an item is: a plain row, or a check box in
// the state that its box is drawn in.
enum class TAccessibleCheck { None, Unchecked, Checked, Mixed };

// What the window of a list box is created with.
struct TCreateParams {
    TListBoxStyle Style = TListBoxStyle::Standard;
};

// One item to paint: its number and its rectangle in client coordinates.
struct TDrawItemStruct {
    int ItemID = -1;
    TRect Rect;
    TOwnerDrawState State = 0;
};

using TDrawItemEvent =
    std::function<void(TObject* sender, int index, const TRect& rect, TOwnerDrawState state)>;
// Key is the typed character; the handler may replace it, or set it to 0 to swallow it.
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// The items of a list box: byte strings in list order. Adding makes the list's window when it
// does not exist yet.
class TListBoxStrings {
public:
    explicit TListBoxStrings(TCustomListBox& owner) : Owner(owner) {}

    int Count() const;
    // Raises EListError when index names no item.
    const std::string& operator[](int index) const;
    // Returns the new item's number.
    int Add(std::string text);
    // Through the list's DeleteString and ResetContent, so a derived list sees every removal.
    void Delete(int index);
    void Clear();

    // Between the two, adding neither repaints nor lays out the list; calls may nest.
    void BeginUpdate();
    void EndUpdate();

private:
    TCustomListBox& Owner;
};

// A list box with one selectable current item, keeping per item its text and one data word.
// The items live in the list's window: destroying the window saves them and creating it again
// re-adds them, each with its data word.
//
// Typical use by a form:
//     list->SetBounds(0, 0, 592, 198);
//     list->Items().BeginUpdate();
//     list->Items().Add(path);
//     list->Items().EndUpdate();
class TCustomListBox : public TControl {
public:
    ~TCustomListBox() override;

    TListBoxStrings& Items() { return ItemList; }
    const TListBoxStrings& Items() const { return ItemList; }
    TCanvas& Canvas() const { return *CanvasPtr; }

    TListBoxStyle Style() const { return ListStyle; }
    // A different style needs a new window: an existing one is re-created.
    void SetStyle(TListBoxStyle style);
    // The row height of a standard list comes from its window; otherwise the property's value.
    int ItemHeight() const;
    // Values below 1 are ignored.
    void SetItemHeight(int height);

    // The rectangle of item index in client coordinates, also when it is scrolled out of view;
    // an empty rectangle for an index that names no item.
    TRect ItemRect(int index) const;
    // The item under pos in client coordinates, -1 for none; only existing items count.
    int ItemAtPos(TPoint pos) const;
    // The current item, -1 for none. Setting it scrolls it into view; an index that names no
    // item leaves no current item.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The first item shown. Setting it scrolls the list, as far as the items reach.
    int TopIndex() const;
    void SetTopIndex(int index);
    // How many items the list shows whole at once; at least 1.
    int VisibleItemCount() const;

    bool HandleAllocated() const;
    // Creates the window when it does not exist.
    void HandleNeeded();
    // Destroys the window and creates it again; the items are re-added.
    void RecreateWnd();

    // Gives the rows of the existing window the height until the window is made anew, leaving
    // the ItemHeight property as it is. False, changing nothing, without a window or for a
    // height outside 1 to 255.
    bool SetRowHeight(int height);

    // What assistive tools call the list: what it holds, in the narrow encoding.
    const std::string& AccessibleName() const { return AccessibleNameValue; }
    void SetAccessibleName(std::string name) { AccessibleNameValue = std::move(name); }

    TDrawItemEvent OnDrawItem;
    TKeyPressEvent OnKeyPress;

protected:
    // The control's widget becomes a child of the parent's; the window is made on first need.
    explicit TCustomListBox(TControl* parent);

    // The item's data word; -1 when index names no item.
    virtual std::intptr_t GetItemData(int index) const;
    // Raises EListError when index names no item.
    virtual void SetItemData(int index, std::intptr_t value);
    // Raises EListError when index names no item.
    virtual void DeleteString(int index);
    virtual void ResetContent();

    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();

    // Paints one visible item: prepares the canvas, calls DrawItem with the item's rectangle,
    // then draws the focus rectangle inside it.
    virtual void CNDrawItem(TDrawItemStruct& drawItem);
    // Calls OnDrawItem when assigned; otherwise paints background, highlight and text in rect.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

    // Called for every typed character; the base calls OnKeyPress.
    virtual void KeyPress(char& key);
    // Called for every mouse button press at (x, y) in client coordinates, after the press
    // has moved the current item.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void CMFontChanged() override;

    // Repaints rect of the client area, its background erased, before returning.
    void RepaintRect(const TRect& rect);

    // What assistive tools read of item index; a plain row here.
    virtual TAccessibleCheck AccessibleCheck(int index) const;
    // An assistive tool's action on item index, taken when the user's input would be (so not
    // while a command runs); the index may name no item by then. Nothing here.
    virtual void AccessibleAction(int index);
    // Tells assistive tools that what AccessibleCheck gives for item index has changed.
    void AccessibleCheckChanged(int index);

private:
    friend class TListBoxStrings;
    friend class TListBoxWindow;

    struct TSavedItem {
        std::string Text;
        std::intptr_t Data = 0;
    };
    struct TSavedWindow {
        std::vector<TSavedItem> Items;
        int ItemIndex = -1;
        int TopIndex = 0;
    };

    TListBoxWindow& Window() const;
    bool ValidIndex(int index) const;
    void PrepareCanvas(TOwnerDrawState state);
    void PaintItemFace(int index, const TRect& rect);
    // A list that is not owner-drawn paints its items itself, without DrawItem.
    void PaintPlainItem(const TDrawItemStruct& drawItem);

    TListBoxStrings ItemList{*this};
    std::unique_ptr<TCanvas> CanvasPtr;
    TListBoxStyle ListStyle = TListBoxStyle::Standard;
    int ItemHeightValue = 16;
    // The items of a destroyed window until the next one is created.
    std::optional<TSavedWindow> Saved;
    std::string AccessibleNameValue;
};
