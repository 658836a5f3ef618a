#pragma once

#include "platform/string_list.h"

#include <string>

// What the program reads at start-up from its own settings file.
struct TProgramSettings {
    std::string LintProgram;
    std::string OutputFile;
    std::string OpenParen;
    std::string CloseParen;
};

// The companion editor's settings file beside the executable.
std::string CompanionSettingsPath();
// The program's own settings file: the executable's path with the extension ".INI".
std::string OwnSettingsPath();

// The site directories named by "LocalPath" in section "Directory" of the companion file, in
// the order written; empty entries are dropped, since an empty site would search the working
// folder.
TStringList ReadSiteDirs(const std::string& companionFile);

// The four keys of section "Program", each with its default.
TProgramSettings ReadProgramSettings(const std::string& ownFile);
