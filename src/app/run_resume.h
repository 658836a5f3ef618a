#pragma once

#include "app/run_journal.h"
#include "platform/file_identity.h"

#include <string>

// What the start-up does with the journal of an earlier run that it finds beside the output
// file: offers to continue a run that did not finish under the same settings, keeps any other
// run's finished pages as a readable report, and sets aside a file it cannot read.

struct TJournalFinding {
    enum TKind {
        Nothing,       // no journal, or one of a run that finished (then removed)
        Unfinished,    // a run under the same settings that can be continued
        OtherSettings, // a run under other settings: its report was kept (Kept, empty when no
                       // page had finished)
        SetAside,      // not ours, newer or damaged: renamed to Kept
    };
    TKind Kind = Nothing;
    TJournalContent Content;
    TFileId Id;       // the journal's file, for continuing it
    std::string Kept; // where its report or the file itself now is
    // Pages finished and to check in all (Unfinished).
    std::size_t Done = 0;
    std::size_t Total = 0;
};

// Reads the journal at path (JournalPathFor the output file) and deals with it as the kind says;
// only Unfinished leaves the decision to the caller. Raises EInOutError when a report or file
// cannot be kept: then nothing was removed.
TJournalFinding FindJournal(const std::string& path, const TRunSettings& settings);

// A run that the user chose not to continue: its finished pages as a readable report beside
// outputFile, the journal removed; gives the report's name, or nothing when no page had
// finished. Raises EInOutError, removing nothing.
std::string KeepUnfinishedRun(const std::string& path, const std::string& outputFile,
                              const TJournalFinding& finding);
