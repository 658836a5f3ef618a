#include "platform/process.h"

#include "platform/command_words.h"
#include "platform/posix/run_and_wait.h"
#include "platform/posix/unique_fd.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// Commands run below a warden: a process of ours that starts each program and is the child
// subreaper of everything the programs start. Whatever leaves the program's group or session,
// or loses its parent, stays below the warden, which hands out each of its live children to be
// waited for until none is left, and reaps them all. Tracking the tree from here instead (parent
// links in /proc, or our program as the subreaper) would mix the checker's orphans with those of
// what the desktop opened, and lose those that are re-parented between two looks; a cgroup of
// its own needs a delegation that a desktop session does not always give.
//
// The warden is forked once, not for each command: a fork copies a program with a window, which
// costs more than the command's own start. It is a copy of a program with many threads, so it
// makes system calls only, never allocating or taking a lock. It ends everything below it and
// itself when asked to (SIGTERM) and when our program ends, however it ends: then its channel
// closes.

namespace {

// What RunAndWait asks the warden, in one message: to start a program (followed by the places to
// look for it, its arguments and its environment, each string ended by a NUL), or for a process
// still to wait for.
struct TRequest {
    enum TKind { Start, Next } Kind;
    int Candidates, Arguments, Variables;
};

// What the warden answers: Started (with a pidfd of the program) or StartFailed for a start,
// then Ended once the program has ended; Left (with a pidfd of one) or NoneLeft for Next.
struct TReport {
    enum TKind { Started, StartFailed, Ended, Left, NoneLeft } Kind;
    int Value;         // the start's error, or the wait status of the program
    bool More = false; // Ended: whether anything is left to ask for with Next
};

// The warden, for the signal handlers: its pid, and the process whose warden it is (a forked
// child of ours is not).
std::atomic<pid_t> LiveWarden{0};
std::atomic<pid_t> LiveWardenOwner{0};

void EndLiveCommand() {
    if (const pid_t warden = LiveWarden.load(); warden != 0 && LiveWardenOwner == ::getpid()) {
        ::kill(warden, SIGTERM);
    }
}

// Ends the command under way, then lets the signal end our program as it would have.
void EndLiveCommandOnSignal(int signal) {
    EndLiveCommand();
    ::raise(signal);
}

// Once for the program: a command under way ends with our program.
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

bool SendWithFd(int channel, const void* bytes, std::size_t size, int fd) {
    iovec data{const_cast<void*>(bytes), size};
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
    return ::sendmsg(channel, &message, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
}

bool Send(int channel, TReport report, int fd = -1) {
    return SendWithFd(channel, &report, sizeof report, fd);
}

// --- The warden ---------------------------------------------------------------------------

// Set by the warden's handlers; the warden blocks every signal but while it sleeps.
volatile sig_atomic_t EndAsked = 0;
void AskToEnd(int) {
    EndAsked = 1;
}
void Wake(int) {}

// The warden's channel to our program.
constexpr int WardenChannel = 3;

// How often, in nanoseconds, the warden looks for a process below it that is stopped.
constexpr long StoppedLookInterval = 500'000'000;

// The parent's pid and state in /proc/PID/stat, read at proc; false when it cannot be read.
bool ReadStat(int proc, const char* pid, pid_t& parent, char& state) {
    char path[32] = {};
    const std::size_t length = std::strlen(pid);
    if (length + sizeof "/stat" > sizeof path) {
        return false;
    }
    std::memcpy(path, pid, length);
    std::memcpy(path + length, "/stat", sizeof "/stat");
    const int fd = ::openat(proc, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char stat[512];
    const ssize_t got = ::read(fd, stat, sizeof stat - 1);
    ::close(fd);
    if (got <= 0) {
        return false;
    }
    stat[got] = '\0';
    // "pid (name) state ppid ...": the name may hold anything, ')' too.
    const char* at = std::strrchr(stat, ')');
    if (at == nullptr || at[1] != ' ' || at[2] == '\0' || at[3] != ' ') {
        return false;
    }
    state = at[2];
    parent = 0;
    for (at += 4; *at >= '0' && *at <= '9'; ++at) {
        parent = parent * 10 + (*at - '0');
    }
    return true;
}

pid_t PidOf(const char* name) {
    pid_t pid = 0;
    for (; *name >= '0' && *name <= '9'; ++name) {
        pid = pid * 10 + (*name - '0');
    }
    return *name == '\0' ? pid : 0;
}

// Calls found with the pid, the parent's pid and the state of every process that /proc shows
// there; found returns whether to go on.
template <typename TFound>
void ForEachProcess(int proc, TFound found) {
    alignas(dirent64) char entries[4096];
    bool more = true;
    for (ssize_t got; more && (got = ::getdents64(proc, entries, sizeof entries)) > 0;) {
        for (ssize_t at = 0; more && at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            pid_t parent = 0;
            char state = 0;
            if (const pid_t pid = PidOf(entry->d_name);
                pid > 0 && ReadStat(proc, entry->d_name, parent, state)) {
                more = found(pid, parent, state);
            }
        }
    }
}

// Calls found with every child of the warden that has not ended (zombies have); false when /proc
// cannot be read. found returns whether to go on.
template <typename TFound>
bool ForEachLiveChild(TFound found) {
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) {
        return false;
    }
    const pid_t self = ::getpid();
    ForEachProcess(proc, [&](pid_t pid, pid_t parent, char state) {
        return parent != self || state == 'Z' || found(pid);
    });
    ::close(proc);
    return true;
}

// Whether the process pid is the warden or lies below it, as /proc at proc tells.
bool Below(int proc, pid_t pid, pid_t warden) {
    // No chain of parents is longer; a longer one is a pid used again while it was followed.
    constexpr int MostLevels = 4096;
    for (int level = 0; level < MostLevels && pid > 1; ++level) {
        if (pid == warden) {
            return true;
        }
        char name[16];
        char* at = name + sizeof name;
        *--at = '\0';
        for (pid_t rest = pid; rest > 0; rest /= 10) {
            *--at = static_cast<char>('0' + rest % 10);
        }
        char state = 0;
        if (!ReadStat(proc, at, pid, state)) {
            return false;
        }
    }
    return false;
}

// Continues every process below the warden that a stop signal holds. Its parent alone hears of
// the stop, and a parent that waits for its child to end (as a shell runs a command) waits for
// ever; the warden's own children are continued as they are reaped. Traced ones are left to
// their tracer.
void ContinueStoppedBelow() {
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) {
        return;
    }
    const pid_t self = ::getpid();
    ForEachProcess(proc, [&](pid_t pid, pid_t parent, char state) {
        if (state == 'T' && Below(proc, parent, self)) {
            ::kill(pid, SIGCONT);
        }
        return true;
    });
    ::close(proc);
}

// Ends everything below the warden and reaps it, then the warden. A killed process's children
// become the warden's before it can be reaped, so that each round reaches one level further.
// Without /proc, the program's session, which is its group, is ended at least while its id is
// still the program's (unreaped: program is not 0).
[[noreturn]] void EndEverything(pid_t program) {
    if (program != 0) {
        ::kill(-program, SIGKILL);
    }
    for (;;) {
        ForEachLiveChild([](pid_t pid) { return ::kill(pid, SIGKILL), true; });
        if (::waitpid(-1, nullptr, 0) < 0 && errno == ECHILD) {
            ::_exit(0);
        }
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
    }
}

// Reaps the children that have ended, telling of the program's end (and whether anything is
// left to wait for); a stopped one is continued, since nobody here would ever continue it.
// options may add blocking (0) or not. Returns false once the warden has no child.
bool Reap(pid_t& program, int options) {
    int programStatus = -1;
    bool children = true;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(-1, &status, options | WUNTRACED);
        if (ended <= 0) {
            children = ended == 0 || errno != ECHILD;
            break;
        }
        if (WIFSTOPPED(status)) {
            ::kill(ended, SIGCONT);
        } else if (ended == program) {
            programStatus = status;
            program = 0;
        }
        if (options == 0) {
            break;
        }
    }
    if (programStatus != -1) {
        Send(WardenChannel, {TReport::Ended, programStatus, children});
    }
    return children;
}

// Starts the program that request asks for (a TRequest and its strings), in a session of its
// own, and says so; returns its pid, 0 when it did not start.
pid_t StartProgram(char* request, std::size_t size) {
    TRequest asked;
    std::memcpy(&asked, request, sizeof asked);
    const std::size_t strings =
        static_cast<std::size_t>(asked.Candidates + asked.Arguments + asked.Variables);
    const std::size_t pointersSize = (strings + 2) * sizeof(char*);
    void* mapped =
        ::mmap(nullptr, pointersSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        Send(WardenChannel, {TReport::StartFailed, ENOMEM});
        return 0;
    }
    // The candidates, then the arguments and a null, then the variables and a null.
    char** pointers = static_cast<char**>(mapped);
    const std::size_t beforeVariables =
        static_cast<std::size_t>(asked.Candidates + asked.Arguments);
    std::size_t count = 0;
    for (std::size_t at = sizeof asked; at < size && count < strings; ++count) {
        pointers[count < beforeVariables ? count : count + 1] = request + at;
        at += std::strlen(request + at) + 1;
    }
    char** argv = pointers + asked.Candidates;
    argv[asked.Arguments] = nullptr;
    char** envp = argv + asked.Arguments + 1;
    envp[asked.Variables] = nullptr;

    const pid_t self = ::getpid();
    volatile int startError = 0; // written by the child while the warden is suspended
    const pid_t program = ::vfork();
    if (program == 0) {
        struct sigaction action {};
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
        for (int candidate = 0; candidate < asked.Candidates; ++candidate) {
            ::execve(pointers[candidate], argv, envp);
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
    ::munmap(mapped, pointersSize);
    if (program < 0 || startError != 0) {
        Send(WardenChannel, {TReport::StartFailed, program < 0 ? errno : startError});
        if (program > 0) {
            ::waitpid(program, nullptr, 0);
        }
        return 0;
    }
    const int programFd = OpenPidFd(program);
    Send(WardenChannel, {TReport::Started, 0}, programFd);
    if (programFd >= 0) {
        ::close(programFd);
    }
    return program;
}

// Answers Next: a pidfd of a child that has not ended, or that none is left. A child that /proc
// does not show (or no /proc) is waited for here.
void AnswerNext(pid_t& program) {
    while (Reap(program, WNOHANG)) {
        int left = -1;
        const bool looked = ForEachLiveChild([&](pid_t pid) {
            left = OpenPidFd(pid);
            return left < 0;
        });
        if (left >= 0) {
            Send(WardenChannel, {TReport::Left, 0}, left);
            ::close(left);
            return;
        }
        if (!looked || !Reap(program, WNOHANG)) {
            Reap(program, 0);
        }
    }
    Send(WardenChannel, {TReport::NoneLeft, 0});
}

// The warden, in the copy of our program that fork made, every signal blocked.
[[noreturn]] void RunWarden(int channel, pid_t parent) {
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
    // Of our program's descriptors only the channel: a lock or a file held here would outlive
    // our program's hold on it.
    if (channel != WardenChannel) {
        ::dup2(channel, WardenChannel);
    }
    ::close_range(WardenChannel + 1, ~0u, 0);
    // No terminal can stop or signal what runs below.
    ::setsid();
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // Our program ending is asked for by its signal handlers or seen on the channel; this covers
    // a program whose descriptors live on in a child of its own.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) {
        EndAsked = 1;
    }

    pid_t program = 0; // the program of the command, until it is reaped
    sigset_t waking;
    sigemptyset(&waking);
    for (;;) {
        const bool children = Reap(program, WNOHANG);
        if (EndAsked) {
            EndEverything(program);
        }
        // While anything runs below, a process stopped deeper down is looked for now and then:
        // no signal tells of it here.
        const timespec look{0, StoppedLookInterval};
        pollfd asked{WardenChannel, POLLIN, 0};
        if (const int ready = ::ppoll(&asked, 1, children ? &look : nullptr, &waking); ready <= 0) {
            if (ready == 0) {
                ContinueStoppedBelow();
            }
            continue; // the look's time, or a signal
        }
        const ssize_t size = ::recv(WardenChannel, nullptr, 0, MSG_PEEK | MSG_TRUNC);
        // Nothing to read: our program has ended.
        if (size < static_cast<ssize_t>(sizeof(TRequest))) {
            EndEverything(program);
        }
        void* request = ::mmap(nullptr, static_cast<std::size_t>(size) + 1, PROT_READ | PROT_WRITE,
                               MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (request == MAP_FAILED) {
            EndEverything(program);
        }
        ::recv(WardenChannel, request, static_cast<std::size_t>(size), 0);
        TRequest asking;
        std::memcpy(&asking, request, sizeof asking);
        if (asking.Kind == TRequest::Start) {
            program = StartProgram(static_cast<char*>(request), static_cast<std::size_t>(size));
        } else {
            AnswerNext(program);
        }
        ::munmap(request, static_cast<std::size_t>(size) + 1);
    }
}

// --- Our side ---------------------------------------------------------------------------------

// The warden of this process; one at a time runs a command through it.
struct TWardenHold {
    pid_t Pid = 0;
    int Channel = -1;
    pid_t Owner = 0; // a forked child of ours finds its parent's here
};
std::mutex WardenMutex;
TWardenHold Ours;

void Forget() {
    if (Ours.Channel >= 0) {
        ::close(Ours.Channel);
    }
    Ours = {};
    LiveWarden = 0;
}

// Asks the warden to end everything below it and waits until it has, and for its own end.
void EndWarden() {
    ::kill(Ours.Pid, SIGTERM);
    while (::waitpid(Ours.Pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    Forget();
}

// Forks the warden unless it runs; the system's error when it cannot.
int EnsureWarden() {
    if (Ours.Owner != ::getpid()) {
        Forget(); // our parent's: its channel is a copy, and its warden is not our child
    } else if (Ours.Pid != 0 && ::waitpid(Ours.Pid, nullptr, WNOHANG) != 0) {
        Forget(); // someone killed it
    }
    if (Ours.Pid != 0) {
        return 0;
    }
    int channel[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, channel) != 0) {
        return errno;
    }
    // The warden starts with every signal blocked, so that none of our handlers runs in it.
    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t parent = ::getpid();
    const pid_t warden = ::fork();
    if (warden == 0) {
        RunWarden(channel[1], parent);
    }
    const int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(channel[1]);
    if (warden < 0) {
        ::close(channel[0]);
        return forkError;
    }
    Ours = {warden, channel[0], parent};
    LiveWardenOwner = parent;
    LiveWarden = warden;
    return 0;
}

// Reads the warden's next report, with the descriptor that comes with it (-1 for none).
bool Receive(TReport& report, int& fd) {
    iovec data{&report, sizeof report};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    fd = -1;
    ssize_t got;
    while ((got = ::recvmsg(Ours.Channel, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
    }
    if (const cmsghdr* passed = CMSG_FIRSTHDR(&message);
        got >= 0 && passed && passed->cmsg_type == SCM_RIGHTS) {
        std::memcpy(&fd, CMSG_DATA(passed), sizeof fd);
    }
    return got == sizeof report;
}

// A start request: the request, then the strings.
std::string StartRequest(const std::vector<std::string>& words) {
    const std::vector<std::string> candidates = Candidates(words.front());
    int variables = 0;
    for (char** variable = environ; variable && *variable; ++variable) {
        ++variables;
    }
    const TRequest request{TRequest::Start, static_cast<int>(candidates.size()),
                           static_cast<int>(words.size()), variables};
    std::string bytes(reinterpret_cast<const char*>(&request), sizeof request);
    for (const auto* strings : {&candidates, &words}) {
        for (const std::string& string : *strings) {
            bytes.append(string.c_str(), string.size() + 1);
        }
    }
    for (int variable = 0; variable < variables; ++variable) {
        bytes.append(environ[variable], std::strlen(environ[variable]) + 1);
    }
    return bytes;
}

// A command under way. One left early (the waiter failed) has everything of it ended.
class TCommandWatch {
public:
    TCommandWatch() = default;
    ~TCommandWatch() {
        if (!Done) {
            EndWarden();
        }
    }
    TCommandWatch(const TCommandWatch&) = delete;
    TCommandWatch& operator=(const TCommandWatch&) = delete;

    bool Done = false;
};

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
    const std::lock_guard one(WardenMutex);
    PrepareForCommands();
    const std::string request = StartRequest(words);
    TReport report{};
    int programFd = -1;
    // A warden that someone killed since the last command is replaced once.
    for (int tries = 0;; ++tries) {
        if (const int error = EnsureWarden(); error != 0) {
            outcome.StartError = error;
            return outcome;
        }
        if (SendWithFd(Ours.Channel, request.data(), request.size(), -1) &&
            Receive(report, programFd)) {
            break;
        }
        const int error = errno;
        EndWarden();
        if (tries == 1) {
            outcome.StartError = error;
            return outcome;
        }
    }
    if (report.Kind != TReport::Started) {
        outcome.StartError = report.Value;
        return outcome;
    }
    outcome.Started = true;
    TCommandWatch watch;
    if (const TFd program(programFd); program.Fd >= 0) {
        wait(program.Fd);
    }
    int none = -1;
    const bool ended = Receive(report, none) && report.Kind == TReport::Ended;
    const int status = ended ? report.Value : SIGKILL; // a warden that was killed
    // What the program left running, one process at a time.
    const TRequest next{TRequest::Next, 0, 0, 0};
    bool allEnded = ended && !report.More;
    while (ended && !allEnded && SendWithFd(Ours.Channel, &next, sizeof next, -1)) {
        TReport answer{};
        int left = -1;
        if (!Receive(answer, left) ||
            (answer.Kind != TReport::Left && answer.Kind != TReport::NoneLeft)) {
            break;
        }
        allEnded = answer.Kind == TReport::NoneLeft;
        if (const TFd process(left); !allEnded) {
            wait(process.Fd);
        }
    }
    watch.Done = allEnded;
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
