#include "platform/console.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

void WriteAllTo(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::atomic<int> StopStatus{0};
// Written to by the handler, so that a wait wakes up; both ends stay open while the program
// lives.
int StopPipe[2] = {-1, -1};

void RequestStop(int signal) {
    if (StopStatus.load() != 0) {
        // A second request: ends the program as the signal would have.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    StopStatus = signal == SIGINT ? 130 : 143;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(StopPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

void WriteStandardOutput(std::string_view text) {
    WriteAllTo(STDOUT_FILENO, text);
}

void WriteStandardError(std::string_view text) {
    WriteAllTo(STDERR_FILENO, text);
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void ShowTerminalLine(std::string_view text) {
    winsize size{};
    const int columns =
        ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
    // UTF-8, East Asian characters taking two columns, half-width katakana one; the last column
    // stays free, since a terminal wraps once it is written.
    std::size_t end = 0;
    for (int used = 0; end < text.size();) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const bool halfWidthKana = lead == 0xEF && end + 1 < text.size() &&
                                   static_cast<unsigned char>(text[end + 1]) >= 0xBD;
        const int width = lead >= 0xE1 && !halfWidthKana ? 2 : 1;
        if (used + width > columns - 1) {
            break;
        }
        used += width;
        end = std::min(text.size(), end + length);
    }
    WriteStandardError("\r" + std::string(text.substr(0, end)) + "\x1b[K");
}

bool UserLanguageIsJapanese() {
    // The first of them that is set decides, as it does for every program's messages.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return std::string(value).starts_with("ja");
        }
    }
    return false;
}

void CatchStopRequests() {
    if (StopPipe[0] >= 0 || ::pipe2(StopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

int StopRequestStatus() {
    return StopStatus.load();
}

bool WaitUnlessStopRequested(TProcessHandle process) {
    pollfd ready[2] = {{static_cast<int>(process), POLLIN, 0}, {StopPipe[0], POLLIN, 0}};
    while (StopStatus.load() == 0) {
        if (::poll(ready, StopPipe[0] >= 0 ? 2 : 1, -1) < 0 && errno != EINTR) {
            return true;
        }
        if (ready[0].revents != 0) {
            return true;
        }
    }
    return false;
}
