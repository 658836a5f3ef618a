#pragma once

#include "app/command_line.h"

// The run without a window (allcheck --run): the same settings files, output-file rules, lock,
// backup, journal and record of checks as the window, its progress on standard error and no
// result opened. Gives the program's exit status: 0 when every page to check has its checker's
// report and the combined report was saved, 1 when some page has none or the report could not
// be saved as the output file, 2 when nothing could run, 130 or 143 when a stop request (Ctrl+C,
// SIGTERM) cut the run short, its journal kept for --continue.
int RunWithoutWindow(const TCommandLine& line);
