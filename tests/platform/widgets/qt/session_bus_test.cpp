// A session bus that takes connections and never answers, as a hung desktop session leaves it:
// Qt's accessibility bridge and the launcher progress would wait for it without end. A program
// of its own: the application must be made here, under the bus that the test sets.
#include "platform/posix/session_bus.h"
#include "platform/widgets/application.h"
#include "platform/widgets/desktop.h"
#include "platform/widgets/form.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr std::chrono::seconds Bound{2};

// A listening Unix socket whose thread takes every connection; one that answers says a line to
// what a client says first, as a bus does, and the other holds the connection and says nothing.
class TBusSocket {
public:
    explicit TBusSocket(bool answers) : Path(Dir.Path() + "bus") {
        Listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un address = Address();
        if (::bind(Listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(Listening, 8) != 0) {
            throw std::runtime_error("listen " + Path);
        }
        Thread = std::thread([this, answers] {
            for (int client; (client = ::accept(Listening, nullptr, nullptr)) >= 0 && !Stop;) {
                Clients.push_back(client);
                char words[64];
                if (answers && ::read(client, words, sizeof words) > 0) {
                    static constexpr char refusal[] = "REJECTED EXTERNAL\r\n";
                    (void)!::write(client, refusal, sizeof refusal - 1);
                }
            }
        });
    }
    ~TBusSocket() {
        // A last connection wakes the thread to see that it is to stop.
        Stop = true;
        const int waker = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un address = Address();
        ::connect(waker, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        Thread.join();
        for (int fd : Clients) {
            ::close(fd);
        }
        ::close(waker);
        ::close(Listening);
    }
    std::string BusAddress() const { return "unix:path=" + Path; }

private:
    sockaddr_un Address() const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, Path.c_str(), sizeof address.sun_path - 1);
        return address;
    }

    TTempDir Dir;
    const std::string Path;
    int Listening = -1;
    std::atomic<bool> Stop = false;
    std::vector<int> Clients;
    std::thread Thread;
};

TEST(SessionBusSilent, TellsABusThatNeverAnswersFromOneThatAnswersOrIsNotThere) {
    TBusSocket silent(false), answering(true);
    const struct {
        std::string Address;
        bool Silent;
    } cases[] = {
        {silent.BusAddress(), true},
        {"unix:path=/nonexistent/bus;" + silent.BusAddress(), true}, // the first one there
        {answering.BusAddress() + ",guid=0123;" + silent.BusAddress(), false},
        {"unix:path=/nonexistent/bus", false},
        {"tcp:host=localhost,port=1;" + silent.BusAddress(), false}, // not tried, nor after it
        {"", false},
    };
    for (const auto& [address, expected] : cases) {
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        EXPECT_EQ(SessionBusSilent(Bound), expected) << address;
    }
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

TEST(SessionBus, NeverAnsweringLeavesTheWindowAndItsLauncherProgressToComeUp) {
    TBusSocket silent(false);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", silent.BusAddress().c_str(), 1);
    ::alarm(120); // a wait without end ends the test, not the suite's time
    TForm* form = TestApplication().CreateForm<TForm>();
    ShowAndWait(*form);
    ShowTaskProgress(*form, {TProgressState::Normal, 1, 2});
    EXPECT_TRUE(IsShown(*form));
    ::alarm(0);
    TestApplication().DestroyForms();
}

} // namespace
