#pragma once

#include "platform/widgets/canvas.h"
#include "platform/widgets/form.h"
#include "platform/widgets/types.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Drives the program's windows the way a user does and watches what they paint, so that the
// same test cases run against each implementation of the window layer. Points are in the
// client coordinates of a control; for a list box, those of its item area.

class TApplication;

// The application object of a test program, made on first use.
TApplication& TestApplication();

// Tests of windows: the application exists before a test makes a window, and the forms that a
// test made through it are gone after it.
class TGuiTest : public testing::Test {
protected:
    static void SetUpTestSuite() { TestApplication(); }
    void TearDown() override;
};

// Handles the events that are pending, then returns.
void ProcessEvents();
// Handles events until done() holds or timeoutMs has passed; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);
// Handles events for ms milliseconds.
inline void Wait(int ms) {
    WaitFor([] { return false; }, ms);
}
// Runs action when events are next handled, also by the loop of a modal box or menu.
void RunSoon(std::function<void()> action);

// Shows the window and returns once it has been painted.
void ShowAndWait(TForm& form);
bool IsShown(const TForm& form);
// Minimises the window, as its frame's button does.
void Minimise(TForm& form);
// Whether the window is the active one, which takes the keyboard, and not minimised.
bool IsInFront(const TForm& form);
bool IsResizable(const TForm& form);
// Whether the Close box of the window's frame is greyed; nothing where the desktop keeps it as
// it is.
std::optional<bool> CloseBoxGreyed(const TForm& form);
// Whether the window lets the user's session end (sign-out, shutdown); nothing where the
// toolkit is not asked.
std::optional<bool> SessionEndAllowed(TForm& form);
bool HasFocus(const TControl& control);
// The text that the control shows, in UTF-8, as the message boxes' texts are recorded.
std::string ShownText(const TControl& control);

enum class TKey { Space, Tab, Escape, Enter, Up, Down, Right, PageUp, Home, End, F4 };

// A press and release of button at the point, handled before returning. As for a user, a
// disabled control takes no click.
void Click(TControl& control, TMouseButton button, TPoint at);
// A left click in the middle of the control.
void Click(TControl& control);
// Two clicks of the left button at the point, quick enough to be a double click.
void DoubleClick(TControl& control, TPoint at);
void PressKey(TControl& control, TKey key, TShiftState shift = 0);
// Types printable ASCII characters into the control.
void TypeText(TControl& control, const std::string& text);
// Alt with a letter, as for a button's accelerator.
void PressAltLetter(TControl& control, char letter);
// Tries every way a user has to close the window: the Close box, Alt+F4 and Escape.
void TryToClose(TForm& form);

// Opens the form's popup menu by a right click at the point of control, or by the keyboard's
// menu key while control has the focus, and chooses the command that captions lead to (a
// submenu's caption, then its item's, in UTF-8 as the menu shows them). Returns once the menu
// has closed.
void ChoosePopupCommand(TForm& form, TControl& control, TPoint at,
                        const std::vector<std::string>& captions, bool byMenuKey = false);

// Input queued as the system queues a user's, returning at once: it waits in the queue until
// the program next takes input, as a user's does while the program is busy.
void QueueClick(TControl& control, TMouseButton button, TPoint at);
// The keyboard's menu key, for the window that has the focus.
void QueueMenuKey(TForm& form);
// A key's press and release, for the window that has the focus.
void QueueKey(TForm& form, TKey key);
// Alt+F4 for the window: under Windows the keys, on Linux the close request that the window
// manager makes of them.
void QueueCloseKey(TForm& form);

// What an assistive tool (a screen reader) reads of an item of a list, asked as such a tool
// asks: QAccessible on Linux, the list window's IAccessible on Windows. Texts in UTF-8.
struct TAccessibleItem {
    std::string Name;
    std::string Check; // a check box's "checked", "unchecked" or "mixed"; else its role
    bool Selected = false;
    bool Focused = false;
    bool operator==(const TAccessibleItem&) const = default;
};
TAccessibleItem ReadAccessibleItem(TControl& list, int index);
// What such a tool calls the control.
std::string AccessibleName(TControl& control);
// The item's one action, asked for as such a tool asks; it takes effect when the program next
// takes input.
void DoAccessibleAction(TControl& list, int index);

// Records, while the result lives, each item of list whose check assistive tools are told has
// changed.
std::shared_ptr<std::vector<int>> RecordCheckEvents(TControl& list);

// Marks the control's client area as needing a paint, as the system does when a window is
// uncovered; the event loop paints it.
void AskForPaint(TControl& control);

// While it lives, each popup menu of form that opens runs OnOpen and then gets the command that
// captions lead to chosen (as in ChoosePopupCommand), or is closed when captions is empty.
class TPopupMenus {
public:
    TPopupMenus(TForm& form, std::vector<std::string> captions);
    ~TPopupMenus();
    TPopupMenus(const TPopupMenus&) = delete;
    TPopupMenus& operator=(const TPopupMenus&) = delete;

    std::function<void()> OnOpen;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

// A picture of pixels 0xRRGGBB.
struct TImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    std::uint32_t At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                      static_cast<std::size_t>(x)];
    }
    TImage Part(const TRect& rect) const;
    // The smallest rectangle that holds every pixel other than background; empty for none.
    TRect Bounds(std::uint32_t background) const;
    bool operator==(const TImage&) const = default;
};

// The client area of the control, in its own coordinates.
TRect ClientRect(const TControl& control);
// Paints the whole client area of the control before returning.
void Repaint(TControl& control);
// The control's client area as it is painted now.
TImage Grab(TControl& control);

// Records each paint of a control's client area while it lives.
class TPaintLog {
public:
    explicit TPaintLog(TControl& control);
    ~TPaintLog();
    TPaintLog(const TPaintLog&) = delete;
    TPaintLog& operator=(const TPaintLog&) = delete;

    // The area of each paint.
    std::vector<TRect> Rects;
    // Runs as each paint begins.
    std::function<void()> OnPaint;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

// A canvas that draws into a picture outside any window, white at first.
class TOffscreenCanvas {
public:
    TOffscreenCanvas(int width, int height);
    ~TOffscreenCanvas();
    TOffscreenCanvas(const TOffscreenCanvas&) = delete;
    TOffscreenCanvas& operator=(const TOffscreenCanvas&) = delete;

    TCanvas& Canvas();
    TImage Image() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

// Answers every message box shown while it lives and records the boxes' texts.
class TMessageBoxes {
public:
    enum TAnswer { Ok, Retry, Cancel, Yes, No };
    explicit TMessageBoxes(TAnswer answer = Ok);
    ~TMessageBoxes();
    TMessageBoxes(const TMessageBoxes&) = delete;
    TMessageBoxes& operator=(const TMessageBoxes&) = delete;

    std::vector<std::string> Texts;
    // Runs when a box has shown, before it is answered.
    std::function<void(const std::string& text)> OnBox;
    // The button that answers the next box; a test may change it between boxes.
    TAnswer Answer;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

// What ShellOpen hands the desktop for the file at path.
std::string DesktopTarget(const std::string& path);
