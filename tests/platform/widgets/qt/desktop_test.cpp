#include "platform/widgets/desktop.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

class DesktopTest : public TGuiTest {};

// A result that the desktop did not take is said; xdg-open is reaped either way.
TEST_F(DesktopTest, ShellOpenTellsWhetherXdgOpenTookTheFile) {
    TTempDir dir;
    const std::string file = dir.Write("out.txt", "report");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir.Path().c_str(), 1);
    const struct {
        const char* Opener; // xdg-open's script, none for a desktop without it
        bool Taken;
    } desktops[] = {{"exit 0", true}, {"exit 3", false}, {nullptr, false}};
    for (const auto& desktop : desktops) {
        const std::string opener = dir.Path() + "xdg-open";
        std::remove(opener.c_str());
        if (desktop.Opener) {
            dir.Write("xdg-open", "#!/bin/sh\n" + std::string(desktop.Opener) + "\n");
            ::chmod(opener.c_str(), 0755);
        }
        EXPECT_EQ(ShellOpen(file), desktop.Taken) << (desktop.Opener ? desktop.Opener : "none");
        EXPECT_TRUE(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
    }
    ::setenv("PATH", path.c_str(), 1);
}

} // namespace
