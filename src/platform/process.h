#pragma once

#include <string>

struct TProcessOutcome {
    bool Started = false;
    int StartError = 0; // the system's error code when the program could not be started
    int ExitStatus = 0; // when it ended by itself
    // What ended it when it did not end by itself, else 0: the signal on Linux; on Windows the
    // code of the unhandled exception (such as 0xC0000005) that ended it.
    int AbnormalEnd = 0;
};

// Runs command on the file at path and waits for its end without a time limit.
// On Linux the command is split into words by SplitCommandWords and path appended as one more
// word, unchanged; no shell sees either. An empty command, or one with an unclosed quote,
// starts nothing.
// On Windows the command line is command + " " + path in double quotes, so that a path with
// blanks arrives as one argument; the program gets a console window of its own and inherits no
// handle. An empty command starts nothing.
TProcessOutcome RunCommandOn(const std::string& command, const std::string& path);

// The command line that RunCommandOn starts, as a user reads it.
std::string CommandLineOf(const std::string& command, const std::string& path);

// How a process ended that did not end by itself ("ｼｸﾞﾅﾙ 9", "例外ｺｰﾄﾞ 0xC0000005"), in the
// report's encoding; empty when it ended by itself.
std::string AbnormalEndText(const TProcessOutcome& outcome);
