#pragma once

#include "platform/process.h"
#include "settings/sites_and_program.h"

#include <optional>
#include <string>

// The start of a page's section in the combined report: an empty line, then the header line
// OpenParen + path + CloseParen.
std::string SectionHeader(const TProgramSettings& settings, const std::string& path);

// Starts the checker on one page, as the platform turns a command and a path into a process,
// and returns when it and everything it started have ended, waited for through wait.
TProcessOutcome RunLint(const std::string& lintProgram, const std::string& fileName,
                        const TProcessWaiter& wait = BlockUntilEnded);

// One page's check: the rest of its section, and why the page has no checker's report of its
// own, if it has none.
struct TPageCheck {
    std::string Section;
    // Empty when the checker left its report, or ended well and left nothing (a clean page).
    std::string Failure;
    // Set when the checker could not run at all, since the output file is not the approved
    // one: the page was not checked.
    bool NotRun = false;
    // The output file that the check approved in place of settings.OutputFileId (a checker
    // that saved its report by renaming a new file over it), if any.
    std::optional<TFileId> Approved;
};

// Runs the checker on one page and gives the rest of its section: the report that the checker
// left in the output file, emptied just before, or a line saying why there is none (a checker
// that ends with a non-zero status and an empty report gets one too). Raises nothing of its
// own, but lets through what wait raises: every failure is a line of the section.
TPageCheck CheckPage(const TProgramSettings& settings, const std::string& path,
                     const TProcessWaiter& wait = BlockUntilEnded);
inline std::string CheckOnePage(const TProgramSettings& settings, const std::string& path,
                                const TProcessWaiter& wait = BlockUntilEnded) {
    return CheckPage(settings, path, wait).Section;
}
