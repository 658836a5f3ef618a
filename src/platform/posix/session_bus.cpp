#include "platform/posix/session_bus.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// A socket address of the bus, as one entry of an address names it.
struct TBusSocket {
    std::string Path;
    bool Abstract = false;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// A value of an address with its "%XX" escapes undone.
std::string Unescaped(std::string_view value) {
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size() && HexDigit(value[i + 1]) >= 0 &&
            HexDigit(value[i + 2]) >= 0) {
            plain += static_cast<char>(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2]));
            i += 2;
        } else {
            plain += value[i];
        }
    }
    return plain;
}

// The Unix sockets of an address, in the order the library tries them ("unix:path=/a;tcp:..."):
// nothing for an entry of another transport, which ends the list, since it may be the one used.
std::vector<TBusSocket> BusSockets(std::string_view address) {
    std::vector<TBusSocket> sockets;
    while (!address.empty()) {
        const std::size_t end = std::min(address.find(';'), address.size());
        const std::string_view entry = address.substr(0, end);
        address.remove_prefix(std::min(end + 1, address.size()));
        if (!entry.starts_with("unix:")) {
            break;
        }
        std::optional<TBusSocket> socket;
        for (std::string_view keys = entry.substr(5); !keys.empty();) {
            const std::size_t comma = std::min(keys.find(','), keys.size());
            const std::string_view pair = keys.substr(0, comma);
            keys.remove_prefix(std::min(comma + 1, keys.size()));
            if (pair.starts_with("path=")) {
                socket = TBusSocket{Unescaped(pair.substr(5)), false};
            } else if (pair.starts_with("abstract=")) {
                socket = TBusSocket{Unescaped(pair.substr(9)), true};
            }
        }
        if (!socket) {
            break;
        }
        sockets.push_back(*socket);
    }
    return sockets;
}

// Waits for events on fd until deadline; false when the time ran out.
bool WaitFor(int fd, short events, TClock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now());
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (ready >= 0 || errno != EINTR) {
            return ready > 0;
        }
    }
}

enum class TAnswer { Answers, Silent, NotThere };

// Says what a client says first, a NUL byte and the request to be known by its user id, and
// waits for any answer until deadline.
TAnswer Probe(const TBusSocket& bus, TClock::time_point deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = bus.Abstract ? 1 : 0;
    if (bus.Path.size() + offset >= sizeof(address.sun_path)) {
        return TAnswer::NotThere;
    }
    std::memcpy(address.sun_path + offset, bus.Path.data(), bus.Path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               bus.Path.size() + (bus.Abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return TAnswer::NotThere;
    }
    TAnswer answer = TAnswer::Silent;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        // A full backlog would hold the library's connect, which waits.
        answer = errno == EAGAIN ? TAnswer::Silent : TAnswer::NotThere;
    } else {
        std::string hello("\0AUTH EXTERNAL ", 15);
        for (char digit : std::to_string(::geteuid())) {
            constexpr char hex[] = "0123456789abcdef";
            hello += hex[(digit >> 4) & 0xF];
            hello += hex[digit & 0xF];
        }
        hello += "\r\n";
        const ssize_t sent = ::send(fd, hello.data(), hello.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            answer = TAnswer::NotThere;
        } else if (WaitFor(fd, POLLIN, deadline)) {
            answer = TAnswer::Answers; // a reply, a refusal or the end: no wait without end
        }
    }
    ::close(fd);
    return answer;
}

} // namespace

bool SessionBusSilent(std::chrono::milliseconds bound) {
    const TClock::time_point deadline = TClock::now() + bound;
    std::string address;
    if (const char* set = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        address = set;
    } else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        address = std::string("unix:path=") + runtime + "/bus";
    }
    // The library takes the first socket that it can connect to.
    for (const TBusSocket& bus : BusSockets(address)) {
        if (const TAnswer answer = Probe(bus, deadline); answer != TAnswer::NotThere) {
            return answer == TAnswer::Silent;
        }
    }
    return false;
}
