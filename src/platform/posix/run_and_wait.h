#pragma once

#include "platform/process.h"

#include <string>
#include <vector>

// Starts words[0], looked up on PATH like a shell does, with the other words as arguments, in a
// session of its own, and waits through wait until it and every process below it have ended,
// without a time limit: wait gets the program's pidfd, then a pidfd of each process it left
// running, one at a time, until none is left. No shell sees the words. The program reads its
// standard input from /dev/null, writes to ours, inherits no other descriptor, and starts with
// default signal handling and no blocked signal. Empty words start nothing.
TProcessOutcome RunAndWait(const std::vector<std::string>& words,
                           const TProcessWaiter& wait = BlockUntilEnded);
