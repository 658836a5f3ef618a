#pragma once

#include <string>
#include <vector>

// What the program was asked on its command line. Without arguments it opens its window.
struct TCommandLine {
    enum TMode { Window, Run, Help, Version };
    TMode Mode = Window;
    bool ChangedOnly = false; // --changed: only the pages changed since their last check
    bool Continue = false;    // --continue: an unfinished run is continued
    // One line saying what was wrong with the arguments; the program then ends with status 2.
    std::string Error;
};

// Reads the arguments that follow the program's name; japanese chooses the language of Error.
TCommandLine ReadCommandLine(const std::vector<std::string>& arguments, bool japanese);

// What --help and --version print.
std::string HelpText(bool japanese);
std::string VersionText();
