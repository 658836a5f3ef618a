#include "support/unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <stdexcept>

std::vector<std::string> Unprivileged(const std::function<std::vector<std::string>()>& work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 &&
                                            ::setuid(65534) == 0);
        std::string out = dropped ? "" : "!cannot drop privileges\n";
        if (dropped) {
            // Nothing may unwind past here: the child would run the parent's tests on.
            try {
                for (const std::string& line : work()) {
                    out += line + "\n";
                }
            } catch (const std::exception& failure) {
                out = "!" + std::string(failure.what()) + "\n";
            }
        }
        ssize_t ignored = ::write(pipeFds[1], out.data(), out.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the unprivileged child failed");
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(out.substr(start, end - start));
    }
    return lines;
}
