#pragma once

#include "platform/process.h"

#include <exception>
#include <functional>
#include <memory>
#include <vector>

class TForm;
struct TApplicationImpl; // the toolkit's application

// The program's application object: owns the toolkit's application and the forms, runs the
// event loop, and is the one place where a failure escaping an event handler is shown.
class TApplication {
public:
    // Uses the toolkit application that already exists (as in tests), or makes one.
    TApplication(int& argc, char** argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void Initialize();

    // Makes a form and runs its OnCreate handler; a failure there is shown like any other and
    // the form stays. The first form made is the main form.
    template <class TFormClass>
    TFormClass* CreateForm() {
        auto form = std::make_unique<TFormClass>();
        TFormClass* made = form.get();
        AddForm(std::move(form));
        return made;
    }
    TForm* MainForm() const { return Forms.empty() ? nullptr : Forms.front().get(); }

    // Shows the main form and handles events until it has closed.
    void Run();
    // Handles all pending events, then returns.
    void ProcessMessages();
    // Returns once process has ended (a waiter for RunCommandOn). Meanwhile the windows go on
    // painting and answering the system, and timers run; the user's input waits in the queue
    // for the next ProcessMessages.
    // A request to close a window (its frame's Close button, Alt+F4) is answered at once all
    // the same (TForm::OnCloseQuery), and may end the wait early through InterruptWait.
    void WaitForProcessEnd(TProcessHandle process);
    // Makes the WaitForProcessEnd under way return before its process has ended.
    void InterruptWait();

    // Shows the failure in the standard message box; the event loop goes on.
    void HandleException(const std::exception& failure);
    // Runs an event handler, showing any failure that escapes it.
    void Guard(const std::function<void()>& handler);

    // Releases the forms, each after its OnDestroy handler has run.
    void DestroyForms();

private:
    void AddForm(std::unique_ptr<TForm> form);

    // Released by the implementation that knows it.
    struct TImplDeleter {
        void operator()(TApplicationImpl* impl) const;
    };
    std::unique_ptr<TApplicationImpl, TImplDeleter> Impl;
    std::vector<std::unique_ptr<TForm>> Forms;
};

// The one application object of the process, while it exists.
extern TApplication* Application;

// Runs an event handler through the application object's guard; without one, as it is.
void GuardedCall(const std::function<void()>& handler);
