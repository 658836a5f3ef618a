#include "platform/process.h"

#include "platform/command_words.h"
#include "platform/posix/run_and_wait.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// A command runs under a warden: a process of ours, forked for the command, that starts the
// program and is the child subreaper of everything the program starts. Whatever leaves the
// program's group or session, or loses its parent, stays below the warden, which therefore ends
// exactly when the last of them has ended and has reaped them all; our program waits for the
// warden alone. Tracking the tree from here instead (parent links in /proc, or our program as
// the subreaper) would mix the checker's orphans with those of what the desktop opened, and
// lose those that are re-parented between two looks; a cgroup of its own needs a delegation
// that a desktop session does not always give.
//
// The warden is a copy of our program forked from a thread of a program with many threads: it
// makes system calls only, never allocating or taking a lock.

namespace {

// What the warden tells RunAndWait, in this order: the program's start (with a pidfd of it), or
// why it could not start; then how it ended.
struct TWardenReport {
    enum TKind { Started, StartFailed, Ended } Kind;
    int Value; // the start's error, or the wait status of the program
};

// The warden of the command under way, 0 for none: what is asked to end everything of the
// command when our program ends.
std::atomic<pid_t> LiveWarden{0};

void EndLiveCommand() {
    if (const pid_t warden = LiveWarden.load(); warden != 0) {
        ::kill(warden, SIGTERM);
    }
}

// Ends the command under way, then lets the signal end our program as it would have.
void EndLiveCommandOnSignal(int signal) {
    EndLiveCommand();
    ::raise(signal);
}

// Once for the program: a command under way ends with our program. Killed outright, our program
// closes its end of the warden's channel, and the warden ends the command all the same.
void PrepareForCommands() {
    static const bool prepared = [] {
        std::atexit(EndLiveCommand);
        for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
            struct sigaction current {};
            // A handler that someone else set stays theirs.
            if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
                struct sigaction ending {};
                ending.sa_handler = EndLiveCommandOnSignal;
                ending.sa_flags = SA_RESETHAND;
                ::sigaction(signal, &ending, nullptr);
            }
        }
        return true;
    }();
    (void)prepared;
}

int OpenPidFd(pid_t pid) {
    // The system call itself: glibc 2.36 declares its wrapper without C linkage.
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// What the warden's copy of the program needs to start it, made before the fork.
struct TStart {
    std::vector<std::string> Candidates; // where the program is looked for, in order
    std::vector<char*> Argv;
};

// As execvp looks the program up: a name with a slash is a path; another is sought in each
// folder of PATH, an empty entry meaning the current folder.
std::vector<std::string> Candidates(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return {program};
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/bin:/usr/bin";
    std::vector<std::string> candidates;
    for (std::size_t start = 0;;) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end - start);
        candidates.push_back(folder.empty() ? program : folder + "/" + program);
        if (end == std::string::npos) {
            return candidates;
        }
        start = end + 1;
    }
}

// Set by the warden's handlers; the warden blocks every signal but while it sleeps.
volatile sig_atomic_t EndAsked = 0;
void AskToEnd(int) {
    EndAsked = 1;
}
void Wake(int) {}

bool Send(int channel, TWardenReport report, int fd = -1) {
    iovec data{&report, sizeof report};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
    if (fd >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* passed = CMSG_FIRSTHDR(&message);
        passed->cmsg_level = SOL_SOCKET;
        passed->cmsg_type = SCM_RIGHTS;
        passed->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(passed), &fd, sizeof fd);
    }
    return ::sendmsg(channel, &message, MSG_NOSIGNAL) == sizeof report;
}

// The parent's pid in /proc/PID/stat, read at folder; -1 when it cannot be read.
pid_t ParentIn(int proc, const char* pid) {
    char path[32] = {};
    std::size_t length = std::strlen(pid);
    if (length + sizeof "/stat" > sizeof path) {
        return -1;
    }
    std::memcpy(path, pid, length);
    std::memcpy(path + length, "/stat", sizeof "/stat");
    const int fd = ::openat(proc, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    char stat[512];
    const ssize_t got = ::read(fd, stat, sizeof stat - 1);
    ::close(fd);
    if (got <= 0) {
        return -1;
    }
    stat[got] = '\0';
    // "pid (name) state ppid ...": the name may hold anything, ')' too.
    const char* at = std::strrchr(stat, ')');
    if (at == nullptr || at[1] != ' ' || at[2] == '\0' || at[3] != ' ') {
        return -1;
    }
    pid_t parent = 0;
    for (at += 4; *at >= '0' && *at <= '9'; ++at) {
        parent = parent * 10 + (*at - '0');
    }
    return parent;
}

// Kills every process whose parent is the warden.
void KillChildren() {
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) {
        return;
    }
    const pid_t self = ::getpid();
    alignas(dirent64) char entries[4096];
    for (ssize_t got; (got = ::getdents64(proc, entries, sizeof entries)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            if (entry->d_name[0] >= '1' && entry->d_name[0] <= '9' &&
                ParentIn(proc, entry->d_name) == self) {
                ::kill(static_cast<pid_t>(std::strtol(entry->d_name, nullptr, 10)), SIGKILL);
            }
        }
    }
    ::close(proc);
}

// Ends everything below the warden and reaps it, then the warden. A killed process's children
// become the warden's before it can be reaped, so that each round reaches one level further.
// Without /proc, the program's session, which is its group, is ended at least while its id is
// still the program's (unreaped, 0 once reaped).
[[noreturn]] void EndEverything(pid_t program) {
    if (program != 0) {
        ::kill(-program, SIGKILL);
    }
    for (;;) {
        KillChildren();
        if (::waitpid(-1, nullptr, 0) < 0 && errno == ECHILD) {
            ::_exit(0);
        }
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
    }
}

// The warden, in the copy of our program that fork made, every signal blocked.
[[noreturn]] void Warden(int channel, pid_t parent, const TStart& start) {
    struct sigaction action {};
    sigfillset(&action.sa_mask);
    action.sa_handler = SIG_DFL;
    // Nothing that our program handles is handled here as there.
    for (int signal = 1; signal < NSIG; ++signal) {
        ::sigaction(signal, &action, nullptr);
    }
    action.sa_handler = AskToEnd;
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
        ::sigaction(signal, &action, nullptr);
    }
    action.sa_handler = Wake;
    ::sigaction(SIGCHLD, &action, nullptr);
    // No terminal can stop or signal what runs below.
    ::setsid();
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // Our program ending is asked for by its signal handlers or seen on the channel; this covers
    // a program whose descriptors live on in a child of its own.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        EndAsked = 1;
    }

    const pid_t self = ::getpid();
    volatile int startError = 0; // written by the child while the warden is suspended
    const pid_t program = ::vfork();
    if (program == 0) {
        action.sa_handler = SIG_DFL;
        for (int signal = 1; signal < NSIG; ++signal) {
            ::sigaction(signal, &action, nullptr);
        }
        // A session of its own: no controlling terminal, so no SIGTTOU or SIGTTIN either.
        ::setsid();
        // Should the warden be killed, the program does not live on unwatched.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int quiet = ::open("/dev/null", O_RDONLY);
        if (quiet < 0 || ::getppid() != self) {
            startError = quiet < 0 ? errno : ESRCH;
            ::_exit(127);
        }
        if (quiet != STDIN_FILENO) {
            ::dup2(quiet, STDIN_FILENO);
        }
        ::close_range(STDERR_FILENO + 1, ~0u, 0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        int error = ENOENT;
        bool denied = false;
        for (const std::string& candidate : start.Candidates) {
            ::execve(candidate.c_str(), start.Argv.data(), environ);
            error = errno;
            denied = denied || error == EACCES;
            // As execvp: a folder that does not have the program is passed over.
            if (error != ENOENT && error != EACCES && error != ENOTDIR && error != ESTALE &&
                error != ENODEV && error != ETIMEDOUT) {
                break;
            }
        }
        startError = denied && error != ENOEXEC ? EACCES : error;
        ::_exit(127);
    }
    if (program < 0 || startError != 0) {
        Send(channel, {TWardenReport::StartFailed, program < 0 ? errno : startError});
        if (program > 0) {
            ::waitpid(program, nullptr, 0);
        }
        ::_exit(0);
    }
    const int programFd = OpenPidFd(program);
    Send(channel, {TWardenReport::Started, 0}, programFd);
    if (programFd >= 0) {
        ::close(programFd);
    }

    pid_t unreaped = program;
    sigset_t waking;
    sigemptyset(&waking);
    for (;;) {
        for (;;) {
            int status = 0;
            const pid_t ended = ::waitpid(-1, &status, WNOHANG | WUNTRACED);
            if (ended > 0) {
                // A stopped process is nobody's to continue here: it would be waited for forever.
                if (WIFSTOPPED(status)) {
                    ::kill(ended, SIGCONT);
                } else if (ended == program) {
                    Send(channel, {TWardenReport::Ended, status});
                    unreaped = 0;
                }
            } else if (ended < 0 && errno == ECHILD) {
                ::_exit(0);
            } else {
                break;
            }
        }
        pollfd ours{channel, POLLIN, 0};
        // Our program never writes: anything on the channel is its end.
        if (EndAsked || ::ppoll(&ours, 1, nullptr, &waking) > 0 || EndAsked) {
            EndEverything(unreaped);
        }
    }
}

// Reads the warden's next report, with the descriptor that comes with it (-1 for none).
bool Receive(int channel, TWardenReport& report, int& fd) {
    iovec data{&report, sizeof report};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    fd = -1;
    ssize_t got;
    while ((got = ::recvmsg(channel, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
    }
    if (const cmsghdr* passed = CMSG_FIRSTHDR(&message);
        got >= 0 && passed && passed->cmsg_type == SCM_RIGHTS) {
        std::memcpy(&fd, CMSG_DATA(passed), sizeof fd);
    }
    return got == sizeof report;
}

// Closes a descriptor when it goes.
struct TFd {
    int Fd = -1;
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
};

// The warden of a command while it is waited for. One left early (the waiter failed) is asked to
// end everything of the command, and is waited for until it has.
class TWardenWatch {
public:
    TWardenWatch(pid_t warden, int channel) : Warden(warden), Channel(channel) {
        LiveWarden = warden;
    }
    ~TWardenWatch() {
        LiveWarden = 0;
        if (!Reaped) {
            ::kill(Warden, SIGTERM);
            Reap();
        }
    }
    TWardenWatch(const TWardenWatch&) = delete;
    TWardenWatch& operator=(const TWardenWatch&) = delete;

    int Reap() {
        int status = 0;
        while (::waitpid(Warden, &status, 0) < 0 && errno == EINTR) {
        }
        Reaped = true;
        return status;
    }

    const pid_t Warden;
    const TFd Channel;

private:
    bool Reaped = false;
};

// Hands wait what becomes ready when the process of ready has ended, unless it has already.
void WaitUnlessEnded(int ready, const TProcessWaiter& wait) {
    pollfd ended{ready, POLLIN, 0};
    if (ready >= 0 && ::poll(&ended, 1, 0) == 0) {
        wait(ready);
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
    TStart start{Candidates(words.front()), {}};
    for (const std::string& word : words) {
        start.Argv.push_back(const_cast<char*>(word.c_str()));
    }
    start.Argv.push_back(nullptr);

    int channel[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, channel) != 0) {
        outcome.StartError = errno;
        return outcome;
    }
    // The warden starts with every signal blocked, so that none of our handlers runs in it.
    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t parent = ::getpid();
    const pid_t warden = ::fork();
    if (warden == 0) {
        ::close(channel[0]);
        Warden(channel[1], parent, start);
    }
    const int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(channel[1]);
    if (warden < 0) {
        ::close(channel[0]);
        outcome.StartError = forkError;
        return outcome;
    }
    TWardenWatch watch(warden, channel[0]);
    const TFd wardenFd(OpenPidFd(warden));

    TWardenReport report{};
    int programFd = -1;
    if (!Receive(watch.Channel.Fd, report, programFd) ||
        report.Kind == TWardenReport::StartFailed) {
        const int status = watch.Reap();
        outcome.StartError = report.Kind == TWardenReport::StartFailed ? report.Value
                             : WIFSIGNALED(status)                     ? EINTR
                                                                       : EIO;
        return outcome;
    }
    outcome.Started = true;
    if (const TFd program(programFd); program.Fd >= 0) {
        wait(program.Fd);
    }
    // What the program left running.
    WaitUnlessEnded(wardenFd.Fd, wait);
    const int wardenStatus = watch.Reap();
    int status = wardenStatus;
    if (int none = -1;
        Receive(watch.Channel.Fd, report, none) && report.Kind == TWardenReport::Ended) {
        status = report.Value;
    } else if (!WIFSIGNALED(status)) {
        // The warden ended without a word of the program: only a kill can do that.
        status = SIGKILL;
    }
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
