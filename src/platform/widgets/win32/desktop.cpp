#include "platform/widgets/desktop.h"

#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/control_impl.h"
#include "platform/widgets/win32/task_bar_state.h"

#include <shellapi.h>

std::string DesktopItem(const std::string& path) {
    return path;
}

bool OpenWithDesktop(const std::string& item) {
    TForm* main = ::Application ? ::Application->MainForm() : nullptr;
    // A value of 32 or less is an error code.
    return reinterpret_cast<INT_PTR>(ShellExecuteA(main ? WindowOf(*main) : nullptr, "Open",
                                                   item.c_str(), nullptr, nullptr, SW_SHOW)) > 32;
}

namespace {

// The task bar's interface, made once on the window's thread; none where the desktop has no
// task bar that shows progress.
ITaskbarList3* TaskBar() {
    static ITaskbarList3* const taskBar = [] {
        // The thread's apartment, unless the program made one already.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ITaskbarList3* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskbarList3, reinterpret_cast<void**>(&made)))) {
            return static_cast<ITaskbarList3*>(nullptr);
        }
        if (FAILED(made->HrInit())) {
            made->Release();
            return static_cast<ITaskbarList3*>(nullptr);
        }
        return made;
    }();
    return taskBar;
}

} // namespace

TBPFLAG TaskBarState(TProgressState state) {
    switch (state) {
    case TProgressState::None:
        return TBPF_NOPROGRESS;
    case TProgressState::Normal:
        return TBPF_NORMAL;
    case TProgressState::Paused:
        return TBPF_PAUSED;
    }
    return TBPF_NOPROGRESS;
}

void ShowProgressOnDesktop(TForm& window, const TTaskProgress& progress) {
    ITaskbarList3* taskBar = TaskBar();
    if (taskBar == nullptr) {
        return;
    }
    HWND button = WindowOf(window);
    if (progress.State != TProgressState::None) {
        taskBar->SetProgressValue(button, static_cast<ULONGLONG>(progress.Done),
                                  static_cast<ULONGLONG>(progress.Total));
    }
    taskBar->SetProgressState(button, TaskBarState(progress.State));
}
