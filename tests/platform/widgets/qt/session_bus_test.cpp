// A program of its own: the application must be made here, under the session bus that the test
// sets.
#include "platform/widgets/application.h"
#include "platform/widgets/desktop.h"
#include "platform/widgets/form.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

// A bus that takes every connection and never answers, as a hung desktop session leaves it: Qt's
// accessibility bridge and the launcher progress would wait for it without end.
TEST(SessionBus, NeverAnsweringLeavesTheWindowAndItsLauncherProgressToComeUp) {
    TTempDir dir;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (dir.Path() + "bus").c_str(), sizeof address.sun_path - 1);
    const int listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listening, 8), 0);
    std::vector<int> held;
    std::thread listener([&] {
        for (int client; (client = ::accept(listening, nullptr, nullptr)) >= 0;) {
            held.push_back(client);
        }
    });
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir.Path() + "bus").c_str(), 1);
    ::alarm(120); // a wait without end ends the test, not the suite's time

    TForm* form = TestApplication().CreateForm<TForm>();
    ShowAndWait(*form);
    ShowTaskProgress(*form, {TProgressState::Normal, 1, 2});
    EXPECT_TRUE(IsShown(*form));

    ::alarm(0);
    TestApplication().DestroyForms();
    ::shutdown(listening, SHUT_RDWR); // ends the wait in accept
    listener.join();
    for (int fd : held) {
        ::close(fd);
    }
    ::close(listening);
}

} // namespace
