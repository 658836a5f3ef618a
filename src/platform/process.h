#pragma once

#include <cstdint>
#include <functional>
#include <string>

// How a started command ended, as facts; the program words them.
struct TProcessOutcome {
    enum TAbnormalEnd { None, Signal, Exception };

    bool Started = false;
    int StartError = 0; // the system's error code when the program could not be started
    // Nothing was started because path cannot reach the program unchanged (see RunCommandOn).
    bool PathRefused = false;
    int ExitStatus = 0; // when it ended by itself
    // What ended it when it did not end by itself: a signal (Linux), or an unhandled exception
    // (Windows), whose number or code is AbnormalCode.
    TAbnormalEnd AbnormalEnd = None;
    std::uint32_t AbnormalCode = 0;
};

// What becomes ready when a process has ended: a pidfd on Linux, the process's HANDLE on
// Windows. It stays open while it is handed to a waiter.
using TProcessHandle = std::intptr_t;

// Returns once process has ended. It may do other work meanwhile (a window goes on painting),
// but must not start another command. It may throw to abandon the wait (the user stopped the
// run): RunCommandOn then ends the program and every process it started, waits until they
// have ended, and lets the exception through.
using TProcessWaiter = std::function<void(TProcessHandle process)>;

// The waiter that blocks the thread.
void BlockUntilEnded(TProcessHandle process);

// Runs command on the file at path and returns once the program and every process it started
// have ended, without a time limit; each of them is waited for through wait.
//
// command is written in the system's own way: on Linux words as a shell splits them (without
// expanding anything; SplitCommandWords); on Windows a command line, whose program splits its
// own arguments. path reaches the program as one more argument, its bytes unchanged; where that
// cannot be (a batch-file checker on Windows whose cmd.exe would change it), nothing is started
// and PathRefused says so. An empty command, or one whose words cannot be split, starts nothing.
//
// The program reads no input, inherits no handle or descriptor of ours and starts with default
// signal handling (Linux); on Windows it gets a console of its own, minimised and inactive, and
// on Linux a session of its own, with no terminal that could stop it. Every process it starts
// is its own, whatever group or session it moves to (on Linux everything below it, on Windows
// its job), and is waited for: through wait, the program first, then, on Linux, what it left
// running, on Windows each process of the job. On Linux a program that stops, or a process it
// left that stops, is continued.
// Whatever of them still runs when our program ends is ended with it, however it ends.
TProcessOutcome RunCommandOn(const std::string& command, const std::string& path,
                             const TProcessWaiter& wait = BlockUntilEnded);

// The command line that RunCommandOn starts, as a user reads it.
std::string CommandLineOf(const std::string& command, const std::string& path);
