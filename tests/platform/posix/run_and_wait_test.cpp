// Starting a program from words is Linux's way; Windows starts one command line (the batch
// check's tests start the fake checker both ways).
#include "platform/posix/run_and_wait.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class RunAndWaitTest : public ::testing::Test {
protected:
    std::string Script(std::string_view name, std::string_view body) {
        std::string path = Dir.Write(name, "#!/bin/sh\n" + std::string(body));
        ::chmod(path.c_str(), 0755);
        return path;
    }
    TTempDir Dir;
};

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
