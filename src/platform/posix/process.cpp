#include "platform/process.h"

#include "platform/command_words.h"
#include "platform/posix/run_and_wait.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Owns the spawn attributes and file actions for one start.
struct TSpawnSetup {
    TSpawnSetup() {
        posix_spawnattr_init(&Attributes);
        posix_spawn_file_actions_init(&Actions);
    }
    ~TSpawnSetup() {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;

    posix_spawnattr_t Attributes;
    posix_spawn_file_actions_t Actions;
};

// The process group of the command under way, 0 for none: what is ended with our program.
std::atomic<pid_t> LiveGroup{0};

void EndLiveGroup() {
    if (const pid_t group = LiveGroup.load(); group != 0) {
        ::kill(-group, SIGKILL);
    }
}

// Ends the live group, then lets the signal end our program as it would have.
void EndLiveGroupOnSignal(int signal) {
    EndLiveGroup();
    ::raise(signal);
}

// Once for the program: the processes that a command leaves behind become our children rather
// than init's, so that we can wait for them, and a command under way ends with our program.
void PrepareForCommands() {
    static const bool prepared = [] {
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        std::atexit(EndLiveGroup);
        for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
            struct sigaction current {};
            // A handler that someone else set stays theirs.
            if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
                struct sigaction ending {};
                ending.sa_handler = EndLiveGroupOnSignal;
                ending.sa_flags = SA_RESETHAND;
                ::sigaction(signal, &ending, nullptr);
            }
        }
        return true;
    }();
    (void)prepared;
}

// Reaps the processes of group that are our children and have ended; with options 0, waits
// for each of them to end.
void Reap(pid_t group, int options) {
    for (;;) {
        const pid_t reaped = ::waitpid(-group, nullptr, options);
        if (reaped == 0 || (reaped < 0 && errno != EINTR)) {
            return;
        }
    }
}

// The group of a command while it is waited for. One left early (the waiter failed) is ended.
class TGroupWatch {
public:
    explicit TGroupWatch(pid_t group) : Group(group) { LiveGroup = group; }
    ~TGroupWatch() {
        LiveGroup = 0;
        if (!Ended) {
            ::kill(-Group, SIGKILL);
            Reap(Group, 0);
        }
    }
    TGroupWatch(const TGroupWatch&) = delete;
    TGroupWatch& operator=(const TGroupWatch&) = delete;

    bool Ended = false;

private:
    pid_t Group;
};

// Hands wait what becomes ready when pid has ended. False when the system gives nothing to wait
// on: pid has gone already, or the kernel has no pidfd.
bool WaitThrough(pid_t pid, const TProcessWaiter& wait) {
    // The system call itself: glibc 2.36 declares its wrapper without C linkage.
    const int ready = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (ready < 0) {
        return false;
    }
    struct TClose {
        int Fd;
        ~TClose() { ::close(Fd); }
    } close{ready};
    wait(ready);
    return true;
}

// A process of group that has not ended; 0 when none is left. Ended ones whose parent has not
// reaped them yet count as gone.
pid_t RunningMember(pid_t group) {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return 0;
    }
    pid_t found = 0;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') {
            continue;
        }
        char path[64], stat[512];
        std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        const ssize_t got = ::read(fd, stat, sizeof stat - 1);
        ::close(fd);
        if (got <= 0) {
            continue;
        }
        stat[got] = '\0';
        // "pid (name) state ppid pgrp ...": the name may hold anything, ')' too.
        char state = 0;
        long parent = 0, processGroup = 0;
        const char* afterName = std::strrchr(stat, ')');
        if (afterName &&
            std::sscanf(afterName + 1, " %c %ld %ld", &state, &parent, &processGroup) == 3 &&
            processGroup == group && state != 'Z') {
            found = static_cast<pid_t>(pid);
            break;
        }
    }
    ::closedir(proc);
    return found;
}

// Waits until no process of group runs. Those that ended as our children are reaped.
void WaitForGroup(pid_t group, const TProcessWaiter& wait) {
    for (;;) {
        Reap(group, WNOHANG);
        if (::kill(-group, 0) != 0 && errno == ESRCH) {
            return;
        }
        const pid_t member = RunningMember(group);
        if (member == 0) {
            return;
        }
        if (!WaitThrough(member, wait) && errno != ESRCH) {
            // No pidfd: look again a little later.
            ::usleep(20000);
        }
    }
}

} // namespace

void BlockUntilEnded(TProcessHandle process) {
    pollfd ready{static_cast<int>(process), POLLIN, 0};
    while (::poll(&ready, 1, -1) < 0 && errno == EINTR) {
    }
}

TProcessOutcome RunAndWait(const std::vector<std::string>& words, const TProcessWaiter& wait) {
    TProcessOutcome outcome;
    if (words.empty() || words.front().empty()) {
        outcome.StartError = ENOENT;
        return outcome;
    }
    PrepareForCommands();
    TSpawnSetup setup;
    sigset_t signals;
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&setup.Attributes, &signals);
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.Attributes, &signals);
    // A group of its own, the program's id: everything it starts is found by it.
    posix_spawnattr_setpgroup(&setup.Attributes, 0);
    posix_spawnattr_setflags(&setup.Attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK |
                                                    POSIX_SPAWN_SETPGROUP);
    posix_spawn_file_actions_addopen(&setup.Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.Actions, STDERR_FILENO + 1);

    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);

    pid_t child = 0;
    int error =
        posix_spawnp(&child, argv[0], &setup.Actions, &setup.Attributes, argv.data(), environ);
    if (error != 0) {
        outcome.StartError = error;
        return outcome;
    }
    outcome.Started = true;
    TGroupWatch group(child);
    WaitThrough(child, wait);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return outcome;
        }
    }
    WaitForGroup(child, wait);
    group.Ended = true;
    if (WIFSIGNALED(status)) {
        outcome.AbnormalEnd = TProcessOutcome::Signal;
        outcome.AbnormalCode = static_cast<std::uint32_t>(WTERMSIG(status));
    } else if (WIFEXITED(status)) {
        outcome.ExitStatus = WEXITSTATUS(status);
    }
    return outcome;
}

TProcessOutcome RunCommandOn(const std::string& command, const std::string& path,
                             const TProcessWaiter& wait) {
    std::optional<std::vector<std::string>> words = SplitCommandWords(command);
    if (!words || words->empty()) {
        return {};
    }
    words->push_back(path);
    return RunAndWait(*words, wait);
}

std::string CommandLineOf(const std::string& command, const std::string& path) {
    return command + " " + path;
}
