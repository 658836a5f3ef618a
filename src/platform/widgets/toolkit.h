#pragma once

// What each implementation of the window layer gives the code of the layer that is written
// once for every toolkit. Only for the layer itself and for tests.

#include "platform/widgets/check_box_drawing.h"
#include "platform/widgets/desktop.h"
#include "platform/widgets/form.h"
#include "platform/widgets/list_box.h"
#include "platform/widgets/menu.h"

#include <cstdint>
#include <string>
#include <vector>

struct TControlImpl;

// The tallest row a list window accepts; it also keeps row arithmetic far from overflow.
inline constexpr int MaxRowHeight = 255;

// The window of a list box, made with the toolkit. While it exists it holds the items (each
// its text, byte for byte, and its data word), the current item and the row height; the list
// box keeps everything else. Every item number handed to it names an item.
class TListBoxWindow {
public:
    virtual ~TListBoxWindow() = default;

    virtual bool Exists() const = 0;
    // Makes the window. Owner-drawn rows are rowHeight high; other rows take their height from
    // the font.
    virtual void Create(TListBoxStyle style, int rowHeight) = 0;
    // Destroys the window and its items.
    virtual void Destroy() = 0;

    // No window holds no items.
    virtual int Count() const = 0;
    virtual const std::string& Text(int index) const = 0;
    virtual std::intptr_t Data(int index) const = 0;
    virtual void SetData(int index, std::intptr_t data) = 0;
    // Appends an item whose data word is 0.
    virtual void Append(std::string text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // Between the two, adding neither repaints nor lays out the list; calls nest, and hold
    // across a new window.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

    // The current item, -1 for none. Making an item current scrolls it into view.
    virtual int Current() const = 0;
    virtual void SetCurrent(int index) = 0;
    // The first item shown.
    virtual int Top() const = 0;
    virtual void SetTop(int index) = 0;
    virtual int RowHeight() const = 0;
    // How many rows the client area shows whole.
    virtual int VisibleRows() const = 0;
    // False when the window keeps its height.
    virtual bool SetRowHeight(int height) = 0;
    // In client coordinates, also for an item scrolled out of view.
    virtual TRect ItemRect(int index) const = 0;
    // The item under a point in client coordinates; -1 outside the client area.
    virtual int ItemAt(TPoint point) const = 0;
    // Repaints rect of the client area, its background erased, before returning.
    virtual void Repaint(const TRect& rect) = 0;
    // Called after the control's font has changed.
    virtual void FontChanged() = 0;
    // Tells assistive tools that the check of item index has changed.
    virtual void AccessibleCheckChanged(int index) = 0;

protected:
    // What the window hands over to the list box it belongs to.
    static void DrawItem(TCustomListBox& list, TDrawItemStruct& drawItem) {
        list.CNDrawItem(drawItem);
    }
    static void PaintPlainItem(TCustomListBox& list, const TDrawItemStruct& drawItem) {
        list.PaintPlainItem(drawItem);
    }
    static void KeyPress(TCustomListBox& list, char& key) { list.KeyPress(key); }
    static void MouseDown(TCustomListBox& list, TMouseButton button, TShiftState shift, int x,
                          int y) {
        list.MouseDown(button, shift, x, y);
    }
    static TAccessibleCheck AccessibleCheck(const TCustomListBox& list, int index) {
        return list.AccessibleCheck(index);
    }
    static void AccessibleAction(TCustomListBox& list, int index) { list.AccessibleAction(index); }
};

// The window behind a list box's control.
TListBoxWindow& ListBoxWindow(TControlImpl& impl);

// Messages posted to a form before it has first been painted wait until then, so that a long
// piece of work they start never runs in front of an empty screen.
class THeldMessages {
public:
    // Hands message to the form's Dispatch under the application's guard, or keeps it while
    // the form has not been painted.
    void Deliver(TForm& form, TMessage message);
    // The form has been painted: gives the messages kept so far, to be posted again in order.
    std::vector<TMessage> Painted();

private:
    bool WasPainted = false;
    std::vector<TMessage> Held;
};

// The size of one check box in the desktop's current style.
TCheckBoxSize MeasureCheckBox();

// What the desktop is given to open the file at path: a file: URL, or the path itself.
std::string DesktopItem(const std::string& path);
// Opens item with the program that the desktop associates with it; false when the desktop
// refused it (see ShellOpen).
bool OpenWithDesktop(const std::string& item);
// Shows progress on the desktop for window.
void ShowProgressOnDesktop(TForm& window, const TTaskProgress& progress);
// Shows menu at (x, y) in screen coordinates until it closes; the item chosen, if any.
TMenuItem* ShowPopupMenu(TPopupMenu& menu, int x, int y);
// After a popup menu's command has run: what lay under the menu is painted again.
void PopupMenuDone();
