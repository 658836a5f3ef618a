// Starting a program from words is Linux's way; Windows starts one command line (the batch
// check's tests start the fake checker both ways).
#include "platform/posix/run_and_wait.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RunAndWaitTest : public ::testing::Test {
protected:
    std::string Script(std::string_view name, std::string_view body) {
        std::string path = Dir.Write(name, "#!/bin/sh\n" + std::string(body));
        ::chmod(path.c_str(), 0755);
        return path;
    }
    // The read end of a FIFO that the checker's processes hold open for writing: at its end no
    // process of theirs is left.
    int Fifo() {
        const std::string path = Dir.Path() + "out.fifo";
        std::remove(path.c_str());
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    TTempDir Dir;
};

// Whether fd became ready within a guard that only a fault reaches.
bool ReadyInTime(int fd, short events = POLLIN) {
    pollfd ready{fd, events, 0};
    return ::poll(&ready, 1, 20000) == 1;
}

// Waits as BlockUntilEnded, but a wait that only a fault makes so long is abandoned.
void GuardedWait(TProcessHandle process) {
    if (!ReadyInTime(static_cast<int>(process))) {
        throw std::runtime_error("still waiting");
    }
}

// Whether everything below our children (a warden) has been reaped, and nothing of ours waits
// to be.
bool NothingLeftBelow() {
    std::map<pid_t, std::pair<pid_t, char>> processes; // parent and state
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (std::isdigit(entry.path().filename().string()[0]) && std::getline(stat, line)) {
            std::istringstream fields(line.substr(line.rfind(')') + 1));
            auto& [parent, state] = processes[std::stoi(entry.path().filename().string())];
            fields >> state >> parent;
        }
    }
    for (const auto& [pid, process] : processes) {
        const auto parent = processes.find(process.first);
        if ((process.first == ::getpid() && process.second == 'Z') ||
            (parent != processes.end() && parent->second.first == ::getpid())) {
            return false;
        }
    }
    return true;
}

// Runs work in a child process and returns how the child ended; one that does not end is killed.
int InChild(const std::function<void(pid_t child)>& whileRunning,
            const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    const int ended = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    whileRunning(child);
    if (!ReadyInTime(ended)) {
        ::kill(child, SIGKILL);
    }
    ::close(ended);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST_F(RunAndWaitTest, ReportsTheExitStatusAndTheEndingSignal) {
    TProcessOutcome exited = RunAndWait({Script("exit3", "exit 3\n")});
    EXPECT_TRUE(exited.Started);
    EXPECT_EQ(exited.ExitStatus, 3);
    EXPECT_EQ(exited.AbnormalEnd, TProcessOutcome::None);

    TProcessOutcome killed = RunAndWait({Script("kill", "kill -9 $$\n")});
    EXPECT_TRUE(killed.Started);
    EXPECT_EQ(killed.AbnormalEnd, TProcessOutcome::Signal);
    EXPECT_EQ(killed.AbnormalCode, static_cast<unsigned>(SIGKILL));
}

TEST_F(RunAndWaitTest, FailsToStartWhatIsMissingOrNotExecutable) {
    TProcessOutcome missing = RunAndWait({Dir.Path() + "no-such-checker"});
    EXPECT_FALSE(missing.Started);
    EXPECT_EQ(missing.StartError, ENOENT);

    std::string plain = Dir.Write("plain.html", "<p>not a program</p>");
    TProcessOutcome notExecutable = RunAndWait({plain});
    EXPECT_FALSE(notExecutable.Started);
    EXPECT_EQ(notExecutable.StartError, EACCES);

    EXPECT_FALSE(RunAndWait({}).Started);
    EXPECT_FALSE(RunAndWait({""}).Started);
}

TEST_F(RunAndWaitTest, ArgumentsArriveUnchangedAndThePathIsSearched) {
    std::string out = Dir.Path() + "args.txt";
    Script("args", "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$1\"\n");
    std::string path = std::string(getenv("PATH") ? getenv("PATH") : "");
    ::setenv("PATH", (Dir.Path() + ":" + path).c_str(), 1);
    TProcessOutcome outcome = RunAndWait({"args", out, "a b", "$(id); rm -rf /tmp/x", "*"});
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(outcome.Started);
    EXPECT_EQ(ReadAll(out), "[" + out + "][a b][$(id); rm -rf /tmp/x][*]");
}

TEST_F(RunAndWaitTest, TheChildGetsAQuietStdinNoExtraDescriptorsAndDefaultSignals) {
    int leaked = ::open(Dir.Write("leak", "x").c_str(), O_RDONLY); // no close-on-exec
    ASSERT_GE(leaked, 3);
    std::signal(SIGTERM, SIG_IGN);
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, &previous);

    std::string out = Dir.Path() + "child.txt";
    std::string script = Script("probe", "cat > \"$1.stdin\"\n"
                                         "ls /proc/self/fd > \"$1\"\n"
                                         "grep SigBlk /proc/self/status > \"$1.mask\"\n"
                                         "kill -TERM $$\n");
    TProcessOutcome outcome = RunAndWait({script, out});

    sigprocmask(SIG_SETMASK, &previous, nullptr);
    std::signal(SIGTERM, SIG_DFL);
    ::close(leaked);

    EXPECT_EQ(ReadAll(out + ".stdin"), "");
    // 0, 1, 2 and the one that ls opened to read the listing.
    EXPECT_EQ(ReadAll(out), "0\n1\n2\n3\n");
    EXPECT_EQ(ReadAll(out + ".mask"), "SigBlk:\t0000000000000000\n");
    EXPECT_EQ(outcome.AbnormalEnd, TProcessOutcome::Signal);
    EXPECT_EQ(outcome.AbnormalCode, static_cast<unsigned>(SIGTERM));
}

} // namespace

namespace {

// A process that leaves the checker's group or session, or loses its parent, is still its work.
TEST_F(RunAndWaitTest, EverythingTheCheckerStartedIsWaitedForAndReaped) {
    for (const char* leave : {"setsid sh -c 'sleep 0.2; echo late > \"$0\"' \"$1\" &",
                              "bash -c 'set -m; (sleep 0.2; echo late > \"$0\") &' \"$1\"",
                              "(sh -c 'sleep 0.2; echo late > \"$0\"' \"$1\" &)"}) {
        const std::string out = Dir.Path() + "late.txt";
        int waits = 0;
        RunAndWait({Script("leaves", std::string(leave) + "\nexit 0\n"), out},
                   [&](TProcessHandle process) {
                       ++waits;
                       GuardedWait(process);
                   });
        EXPECT_EQ(ReadAll(out), "late\n") << leave;
        EXPECT_EQ(waits, 2) << leave;
        EXPECT_TRUE(NothingLeftBelow()) << leave;
        std::remove(out.c_str());
    }
}

// The user stopped the run while what the checker left still ran.
TEST_F(RunAndWaitTest, AWaiterThatThrowsEndsEverythingTheCheckerStartedAndIsHeard) {
    const int fifo = Fifo();
    const std::string script = Script("holds", "exec 3>\"$1.fifo\"\nsetsid sleep 30 &\n");
    int waits = 0;
    EXPECT_THROW(RunAndWait({script, Dir.Path() + "out"},
                            [&](TProcessHandle process) {
                                if (++waits == 2) {
                                    throw std::runtime_error("stopped");
                                }
                                GuardedWait(process);
                            }),
                 std::runtime_error);
    EXPECT_EQ(waits, 2);
    char byte;
    EXPECT_EQ(::read(fifo, &byte, 1), 0); // no writer left
    EXPECT_TRUE(NothingLeftBelow());
    ::close(fifo);
}

// A stopped process below the checker is continued: the checker itself, and one whose parent
// lives and waits for it to end, as a shell waits for a command.
TEST_F(RunAndWaitTest, AStoppedCheckerIsContinued) {
    const std::string out = Dir.Path() + "out";
    for (const char* body : {"kill -STOP $$\necho on > \"$1\"\n",
                             "sh -c 'kill -STOP $$; echo on > \"$1\"' sh \"$1\"\n"}) {
        RunAndWait({Script("stops", body), out}, GuardedWait);
        EXPECT_EQ(ReadAll(out), "on\n") << body;
        std::remove(out.c_str());
    }
}

// Started from a terminal, the program's checker can neither be stopped by it nor reach it as
// its own: SIGTTOU would stop one of a background group for ever.
TEST_F(RunAndWaitTest, TheTerminalOfTheProgramIsNotTheCheckersOwn) {
    const std::string out = Dir.Path() + "out";
    const std::string script = Script("terminal", "stty -echo <&2 2>/dev/null\n"
                                                  "stty -echo </dev/tty 2>/dev/null\n"
                                                  "echo $? > \"$1\"\n");
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal) | ::unlockpt(terminal), 0);
    const std::string name = ::ptsname(terminal);
    const int status = InChild([](pid_t) {},
                               [&] {
                                   ::setsid();
                                   const int own = ::open(name.c_str(), O_RDWR); // its terminal
                                   ::dup2(own, STDERR_FILENO);
                                   try {
                                       RunAndWait({script, out}, GuardedWait);
                                   } catch (const std::exception&) {
                                       ::_exit(1);
                                   }
                               });
    ::close(terminal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(ReadAll(out), "0\n"); // /dev/tty is nobody's
}

// However the program ends, nothing that its checker started lives on; a signal still ends it
// as it would have, also once a checker has run.
TEST_F(RunAndWaitTest, EveryEndOfTheProgramEndsWhatItsCheckerStarted) {
    const std::string script =
        Script("holds", "exec 3>\"$1.fifo\"\nsetsid sleep 30 &\necho up >&3\nsleep 30\n");
    const std::string quick = Script("quick", "exit 0\n");
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGQUIT, SIGKILL}) {
        const int fifo = Fifo();
        const int status = InChild(
            [&](pid_t child) {
                ASSERT_TRUE(ReadyInTime(fifo)) << signal;
                ::kill(child, signal);
            },
            [&] {
                const rlimit noCore{0, 0};
                ::setrlimit(RLIMIT_CORE, &noCore);
                RunAndWait({quick});
                RunAndWait({script, Dir.Path() + "out"});
            });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << " " << status;
        char bytes[8];
        EXPECT_EQ(::read(fifo, bytes, sizeof bytes), 3) << signal;
        // Every writer gone: the FIFO hangs up.
        EXPECT_TRUE(ReadyInTime(fifo, POLLHUP) && ::read(fifo, bytes, sizeof bytes) == 0) << signal;
        ::close(fifo);
    }
}

} // namespace
