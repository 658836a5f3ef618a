#pragma once

#include "app/run_journal.h"
#include "files/file_list.h"
#include "platform/string_list.h"
#include "settings/sites_and_program.h"

#include <optional>
#include <string>

// Makes settings' output file ready for runs once the scan has listed pages. The file, its
// journal and the record of checks beside it must pass OutputFileRefusal; then the file is
// emptied, its content going to the backup name, and what the reset left is approved
// (settings.OutputFileId), with the rule that a file taking its name during a run is held to
// (settings.ApproveReplacement, which refers to siteDirs and pages). Gives the refusal, which
// the user must be told at once, or why the reset failed; either leaves settings.OutputFile
// empty. Nothing when it succeeded or no output file is set.
struct TOutputResetProblem {
    std::string Message;
    bool Refused = false; // by the rule, not a failure of the system
};
std::optional<TOutputResetProblem>
ResetOutputFile(TProgramSettings& settings, const TStringList& siteDirs, const TFileList& pages);

// What a run over siteDirs is checked under, for its journal.
TRunSettings RunSettingsOf(const TStringList& siteDirs, const TProgramSettings& settings);
