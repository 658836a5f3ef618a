#pragma once

#include <functional>
#include <string>

class TForm;

// Opens the file with the program that the desktop associates with it, and returns whether the
// desktop took it: false when it has no program for the file or cannot start one (Windows:
// ShellExecute fails; Linux: xdg-open cannot be started, or ends with a failure status within
// the moment it takes to find the program, the window painting meanwhile).
bool ShellOpen(const std::string& path);

// Test seam: hands opener what the desktop would be given (the file's absolute file: URL on
// Linux, its path on Windows), so that no test ever launches anything; the desktop is taken to
// have opened it. An empty opener restores the desktop.
void OverrideShellOpener(std::function<void(const std::string& item)> opener);

// How far a long piece of work of a window has come, as the desktop shows it beside the
// window's name: Done of Total, going on or paused; None shows nothing.
enum class TProgressState { None, Normal, Paused };
struct TTaskProgress {
    TProgressState State = TProgressState::None;
    int Done = 0;
    int Total = 0;
    bool operator==(const TTaskProgress&) const = default;
};

// Shows progress where the desktop shows it: on Windows on the window's task bar button (a
// paused one in the paused colour); on Linux as the launcher entry's progress, sent on the
// session bus, which shows no pause, and where there is no session bus, nowhere.
void ShowTaskProgress(TForm& window, const TTaskProgress& progress);

// Test seam: hands recorder what the desktop would be shown. An empty recorder restores the
// desktop.
void OverrideTaskProgress(std::function<void(const TTaskProgress& progress)> recorder);
