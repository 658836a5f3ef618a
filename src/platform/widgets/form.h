#pragma once

#include "platform/widgets/control.h"

#include <functional>
#include <initializer_list>
#include <string>

class TPopupMenu;

enum class TBorderStyle { Sizeable, Dialog };
enum class TPosition { Designed, ScreenCenter };

// A message that a form posts to itself: a number of the program's own, from 1 to 0x7BFF.
struct TMessage {
    unsigned Msg = 0;
};

// A top-level window. It is made hidden; the application shows the main form when it runs.
class TForm : public TControl {
public:
    TForm();
    ~TForm() override;

    // The window's inner size, without its frame.
    void SetClientSize(int width, int height);
    // A dialog frame cannot be resized.
    void SetBorderStyle(TBorderStyle style);
    void SetPosition(TPosition position);
    // The order in which Tab moves the focus through the controls.
    void SetFocusChain(std::initializer_list<TControl*> chain);
    // The control that has the focus when the window is shown.
    void SetActiveControl(TControl* control);
    // Opens on a right click anywhere in the window and on the keyboard's menu key.
    void SetPopupMenu(TPopupMenu* menu);
    TPopupMenu* AssignedPopupMenu() const { return Popup; }

    void Show();
    void Close();
    // While disabled, every way of closing the window is refused.
    // - Windows: the frame's Close button and the window menu's Close command are greyed, and
    //   the end of the user's session (sign-out, shutdown) is refused, with reason as the
    //   system shows it.
    // - Qt: cannot grey the frame's Close button without making the window anew, which hides
    //   and may move it: the button stays as it is and its click is refused. Qt offers no
    //   refusal of the session's end, and reason is not shown.
    void SetCloseCommandEnabled(bool enabled, const std::string& reason = {});
    bool CloseCommandEnabled() const { return CloseAllowed; }
    // While reason is not empty, the end of the user's session (sign-out, shutdown) is refused,
    // on Windows with reason as the system shows it; Qt offers no refusal.
    void RefuseSessionEnd(const std::string& reason);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    // Asked when the user would close the window (the frame's Close button, the Close command,
    // Alt+F4, Close()) while closing is enabled: true lets it close. Also asked while a command
    // runs (TApplication::WaitForProcessEnd), when the user's other input waits.
    std::function<bool()> OnCloseQuery;

    // Queues message msg for Dispatch, to be handled by the event loop after all events queued
    // before. On Windows the form's window gets it as the system's message WM_USER + msg.
    void Post(unsigned msg);
    // Handles a message posted with Post; the base ignores every message.
    virtual void Dispatch(TMessage& message);

private:
    friend struct TFormAccess;
    TPosition Placement = TPosition::Designed;
    TControl* Active = nullptr;
    TPopupMenu* Popup = nullptr;
    bool CloseAllowed = true;
    bool SessionEndRefused = false;
};
