#pragma once

#include "platform/file_identity.h"
#include "platform/string_list.h"
#include "settings/settings_file.h"

#include <functional>
#include <optional>
#include <string>

// What the program reads at start-up from the two settings files: the sites from the companion
// editor's file, the rest from its own.

// What the program reads from its own settings file, and the one thing the start-up learns of
// it: which file the output file is.
struct TProgramSettings {
    std::string LintProgram;
    std::string OutputFile;
    std::string OpenParen;
    std::string CloseParen;
    // The file that the start-up's reset left at OutputFile, the only one that a run writes
    // (see files/text_file.h).
    TFileId OutputFileId{};
    // Whether another file that has taken OutputFile's name during a run (a checker that saves
    // by renaming a new file over it) may become the output file: its identity when it passes
    // every rule that the start-up applied. Unset: none may.
    std::function<std::optional<TFileId>()> ApproveReplacement = nullptr;
};

// The companion editor's settings file beside the executable.
std::string CompanionSettingsPath();
// The program's own settings file: the executable's path with the extension ".INI".
std::string OwnSettingsPath();

// The site directories named by "LocalPath" in section "Directory" of the companion file, in
// the order written, each ending in a separator (one is added where it is missing); empty
// entries are dropped, since an empty site would search the working folder. A refused file or
// value (see TSettingsFile) counts as missing and is added to problems. So is a file that lists
// no site: one that is missing, named with where it was looked for and any file beside it that
// is probably it (the name in other letter case, or with ".txt" added), and one without sites.
TStringList ReadSiteDirs(const std::string& companionFile, TSettingsProblems& problems);

// The four keys of section "Program", each with its default, which also stands for a refused
// value; what was refused is added to problems.
TProgramSettings ReadProgramSettings(const std::string& ownFile, TSettingsProblems& problems);
