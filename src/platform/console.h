#pragma once

#include "platform/process.h"

#include <string_view>

// What a run without a window needs of the terminal or console it was started from, and of the
// stop requests that reach it there.

// Writes text, in the narrow encoding, to standard output or standard error: to a console in the
// characters it shows, to a pipe or file byte for byte. A Windows program of the window kind
// writes to the console of the program that started it, if any. Failures are ignored.
void WriteStandardOutput(std::string_view text);
void WriteStandardError(std::string_view text);

// Whether standard error is a terminal (a console on Windows) that a line can be rewritten in,
// and how many columns it has (80 when it cannot tell).
bool StandardErrorIsTerminal();

// Replaces the last line that standard error's terminal shows with text, cut to the terminal's
// width so that it never wraps.
void ShowTerminalLine(std::string_view text);

// Whether the user's language is Japanese: the locale's on Linux (LC_ALL, LC_MESSAGES, LANG),
// the user interface's on Windows.
bool UserLanguageIsJapanese();

// From now on Ctrl+C and a request to end (SIGTERM, SIGHUP; Ctrl+Break, the console closing)
// ask the run to stop instead of ending the program at once; a second request ends it as the
// first would have.
void CatchStopRequests();

// The exit status that the first stop request asks for: 130 for Ctrl+C, 143 for the others;
// 0 while none came.
int StopRequestStatus();

// Waits until process has ended or a stop request comes, whichever is first; false for a stop
// request.
bool WaitUnlessStopRequested(TProcessHandle process);
