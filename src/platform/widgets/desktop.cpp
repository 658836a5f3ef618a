// What every toolkit shares of opening a file with the desktop's program and of showing progress
// there; the toolkit's half is in qt/desktop.cpp and win32/desktop.cpp.
#include "platform/widgets/desktop.h"

#include "platform/widgets/toolkit.h"

namespace {
std::function<void(const std::string&)>& Opener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

std::function<void(const TTaskProgress&)>& ProgressRecorder() {
    static std::function<void(const TTaskProgress&)> recorder;
    return recorder;
}
} // namespace

bool ShellOpen(const std::string& path) {
    const std::string item = DesktopItem(path);
    if (Opener()) {
        Opener()(item);
        return true;
    }
    return OpenWithDesktop(item);
}

void OverrideShellOpener(std::function<void(const std::string& item)> opener) {
    Opener() = std::move(opener);
}

void ShowTaskProgress(TForm& window, const TTaskProgress& progress) {
    if (ProgressRecorder()) {
        ProgressRecorder()(progress);
    } else {
        ShowProgressOnDesktop(window, progress);
    }
}

void OverrideTaskProgress(std::function<void(const TTaskProgress& progress)> recorder) {
    ProgressRecorder() = std::move(recorder);
}
