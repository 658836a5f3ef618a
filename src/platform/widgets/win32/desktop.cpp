#include "platform/widgets/desktop.h"

#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/win32/control_impl.h"

#include <shellapi.h>

namespace {
std::function<void(const std::string&)>& Opener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}
} // namespace

void ShellOpen(const std::string& path) {
    if (Opener()) {
        Opener()(path);
        return;
    }
    TForm* main = ::Application ? ::Application->MainForm() : nullptr;
    ShellExecuteA(main ? WindowOf(*main) : nullptr, "Open", path.c_str(), nullptr, nullptr,
                  SW_SHOW);
}

void OverrideShellOpener(std::function<void(const std::string& url)> opener) {
    Opener() = std::move(opener);
}
