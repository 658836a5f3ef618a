#include "app/batch_run.h"

#include "app/batch_check.h"
#include "app/check_record.h"
#include "app/run_texts.h"
#include "app/status_texts.h"
#include "files/text_file.h"
#include "platform/exceptions.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"

#include <algorithm>
#include <ctime>
#include <unordered_set>

namespace {

std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

// Tries action until it succeeds or the user gives up; nothing when it succeeded, else why it
// failed the last time, which the status line then says.
template <typename TAction>
std::optional<std::string> GivenUp(TBatchRunView& view, TAction action) {
    for (;;) {
        try {
            action();
            return std::nullopt;
        } catch (const EInOutError& error) {
            if (!view.AskRetry(error.Message)) {
                view.ShowStatus(error.Message);
                return error.Message;
            }
        }
    }
}

// The pages that the journal says are still to be checked: checked at the start, or later by
// the user, and not reached yet. Kept in step with the list's checks at every pause, so that a
// run continued checks what this one would have.
class TPlan {
public:
    TPlan(TBatchRunView& view, TRunJournal& journal, std::vector<char> planned)
        : View(view), Journal(journal), Planned(std::move(planned)) {}

    // Records the checks that the user changed on the pages from first on.
    void Follow(int first) {
        const std::optional<unsigned> changes = View.CheckChanges();
        if (changes && changes == Seen) {
            return;
        }
        for (int i = first; i < View.PageCount(); ++i) {
            const bool checked = View.PageChecked(i);
            if (checked != static_cast<bool>(Planned[static_cast<std::size_t>(i)])) {
                Journal.AppendPlan(View.Page(i), checked);
                Planned[static_cast<std::size_t>(i)] = checked;
            }
        }
        Seen = changes;
    }

    // The run unchecks the page done, which is no change of the user's.
    void Uncheck(int index) {
        const bool followed = View.CheckChanges() == Seen;
        View.UncheckPage(index);
        if (followed) {
            Seen = View.CheckChanges();
        }
    }

private:
    TBatchRunView& View;
    TRunJournal& Journal;
    std::vector<char> Planned;
    std::optional<unsigned> Seen;
};

// The journal of a new run, or of the run continued, with the plan it follows.
std::optional<TRunJournal> OpenJournal(const TProgramSettings& settings,
                                       const TRunSettings& runSettings, TBatchRunView& view,
                                       const TContinuedRun* continued, std::vector<char>& planned) {
    const std::string path = JournalPathFor(settings.OutputFile);
    const int count = view.PageCount();
    planned.assign(static_cast<std::size_t>(count), 0);
    try {
        if (continued != nullptr) {
            const std::vector<std::string> pending = continued->Content.Pending();
            const std::unordered_set<std::string> pendingSet(pending.begin(), pending.end());
            for (int i = 0; i < count; ++i) {
                planned[static_cast<std::size_t>(i)] = pendingSet.contains(view.Page(i));
            }
            std::optional<TRunJournal> journal =
                TRunJournal::Continue(path, continued->JournalId, continued->Content);
            if (!journal) {
                view.ShowStatus(JournalReplacedText(path));
            }
            return journal;
        }
        TRunJournal journal = TRunJournal::Create(path);
        std::vector<std::string> pages;
        for (int i = 0; i < count; ++i) {
            if (view.PageChecked(i)) {
                planned[static_cast<std::size_t>(i)] = 1;
                pages.push_back(view.Page(i));
            }
        }
        journal.AppendRun(Now(), runSettings, pages);
        return journal;
    } catch (const EInOutError& error) {
        view.ShowStatus(JournalFailedText(error.Message));
        return std::nullopt;
    }
}

// The record of checked pages, kept as the run goes. A record that cannot be written costs the
// next choice of changed pages its knowledge of this run's pages, never the run itself.
class TRecordKeeper {
public:
    TRecordKeeper(const std::string& outputFile, TBatchRunView& view) : View(view) {
        const std::string path = CheckRecordPathFor(outputFile);
        try {
            const TCheckRecord record = LoadCheckRecord(path);
            if (!record.SetAside.empty()) {
                view.ShowWarning(CheckRecordSetAsideText(path, record.SetAside));
            }
            Writer = TCheckRecordWriter::Open(path, record);
            if (!Writer) {
                Failure = CheckRecordReplacedText(path);
            }
        } catch (const EInOutError& error) {
            Failure = error.Message;
        }
    }

    void Add(const TJournalPage& page) {
        try {
            if (Writer) {
                Writer->Add(page);
            }
        } catch (const EInOutError& error) {
            Failure = error.Message;
            Writer.reset();
        }
    }

    void Finish() {
        try {
            if (Writer) {
                Writer->Sync();
            }
        } catch (const EInOutError& error) {
            Failure = error.Message;
        }
        if (!Failure.empty()) {
            View.ShowWarning(CheckRecordFailedText(Failure));
        }
    }

private:
    TBatchRunView& View;
    std::optional<TCheckRecordWriter> Writer;
    std::string Failure;
};

int CheckedPages(const TBatchRunView& view) {
    int checked = 0;
    for (int i = 0; i < view.PageCount(); ++i) {
        checked += view.PageChecked(i) ? 1 : 0;
    }
    return checked;
}

// The combined report, written from the journal, replaces the output file; one that cannot is
// kept under a name of its own, which the status line gives.
bool SaveResult(TProgramSettings& settings, TRunJournal& journal, TBatchRunView& view) {
    const auto save = [&] {
        if (FileIdAt(settings.OutputFile) != settings.OutputFileId && settings.ApproveReplacement) {
            settings.OutputFileId = settings.ApproveReplacement().value_or(settings.OutputFileId);
        }
        SaveTextFileFrom(
            settings.OutputFile,
            [&](TFile& file) {
                journal.ForEachSection([&](std::string_view section) { file.WriteAll(section); });
            },
            settings.OutputFileId);
    };
    const std::optional<std::string> refusal = GivenUp(view, save);
    if (!refusal) {
        return true;
    }
    std::string kept = journal.Path();
    try {
        kept = KeepUnfinishedReport(settings.OutputFile, Now(), [&](const TSectionTaker& take) {
            journal.ForEachSection(take);
        });
        journal.AppendEnd(Now());
        journal.Remove();
    } catch (const EInOutError&) {
        // The journal itself keeps the report, for the next start to offer.
    }
    view.ShowStatus(ReportKeptText(*refusal, kept));
    view.ShowWarning(ReportKeptText(*refusal, kept));
    return false;
}

} // namespace

TRunOutcome RunBatch(const TProgramSettings& startSettings, const TRunSettings& runSettings,
                     TBatchRunView& view, const TContinuedRun* continued) {
    // The output file may change during the run (ApproveReplacement).
    TProgramSettings settings = startSettings;
    const int count = view.PageCount();
    const int total = CheckedPages(view);
    if (total == 0) {
        view.ShowStatus(StatusNothingChecked);
        return {};
    }
    std::vector<char> planned;
    std::optional<TRunJournal> journal =
        OpenJournal(settings, runSettings, view, continued, planned);
    if (!journal) {
        return {};
    }
    TPlan plan(view, *journal, std::move(planned));
    TRecordKeeper records(settings.OutputFile, view);
    std::vector<std::string> failures;
    bool stopped = false;
    int done = 0;
    view.ShowProgress(done, total);
    try {
        plan.Follow(0);
        for (int i = 0; i < count && !stopped; ++i) {
            if (!view.PageChecked(i)) {
                continue;
            }
            const std::string path = view.Page(i);
            view.ShowPageInProgress(i);
            view.ShowStatus(StatusProcessing(i, count, path));
            TJournalPage page{0,
                              path,
                              FingerprintOf(path),
                              settings.LintProgram,
                              settings.OpenParen,
                              settings.CloseParen};
            TPageCheck check;
            try {
                // After the checker itself, what it left running is waited for, one at a time.
                int waits = 0;
                check = CheckPage(settings, path, [&](TProcessHandle process) {
                    if (++waits == 2) {
                        view.ShowStatus(StatusAwaitingLeftovers(i, count, path));
                    }
                    view.WaitForChecker(process);
                });
            } catch (const ERunStopped&) {
                stopped = true;
                break;
            }
            page.Finished = Now();
            settings.OutputFileId = check.Approved.value_or(settings.OutputFileId);
            const std::string section = SectionHeader(settings, path) + check.Section;
            if (GivenUp(view, [&] { journal->AppendPage(page, section); })) {
                stopped = true;
                break;
            }
            if (!check.Failure.empty()) {
                failures.push_back(path + ": " + check.Failure);
            } else if (!check.NotRun) {
                records.Add(page);
            }
            // A page whose checker could not run keeps its check, to show that it was not checked.
            if (!check.NotRun) {
                plan.Uncheck(i);
            }
            // Pages the user checked during the run count too, once they are done.
            ++done;
            view.ShowProgress(done, std::max(total, done));
            view.PauseBetweenPages();
            plan.Follow(i + 1);
            stopped = view.StopRequested();
        }
        journal->Sync();
    } catch (const EInOutError& error) {
        // The plan could not be written: what is in the journal is saved.
        view.ShowStatus(error.Message);
        stopped = true;
    }
    records.Finish();
    const TRunOutcome outcome{true, true, stopped, failures.size()};
    if (!SaveResult(settings, *journal, view)) {
        return {true, false, stopped, failures.size()};
    }
    if (stopped) {
        view.ShowStatus(StatusStopped);
        return outcome;
    }
    try {
        journal->AppendEnd(Now());
        journal->Remove();
    } catch (const EInOutError&) {
        // A journal that ended is never offered again: only its removal failed.
    }
    const std::string ended = failures.empty() ? StatusAllDone : StatusSomeFailed(failures.size());
    view.ShowStatus(ended);
    if (!failures.empty()) {
        view.ShowWarning(FailuresText(failures));
    }
    if (!view.OpenResult(settings.OutputFile)) {
        view.ShowStatus(ended + "  " + CannotOpenResultText(settings.OutputFile));
    }
    return outcome;
}

std::string KeepUnfinishedReport(const std::string& outputFile, std::int64_t time,
                                 const TSectionSource& sections) {
    const std::time_t when = static_cast<std::time_t>(time);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "-unfinished-%Y%m%d-%H%M%S", std::localtime(&when));
    const std::string name = ExtractFileName(outputFile);
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    // Never over another file: a second report kept in the same second gets a number.
    for (int number = 1;; ++number) {
        const std::string suffix = number == 1 ? "" : "-" + std::to_string(number);
        const std::string kept = ChangeFileExt(outputFile, stamp + suffix + extension);
        std::optional<TFile> file = TFile::CreateNew(kept);
        if (!file && number < 100) {
            continue;
        }
        if (!file) {
            throw EInOutError(0, NarrowText("ﾌｧｲﾙを作れません: ") + kept);
        }
        try {
            sections([&](std::string_view section) { file->WriteAll(section); });
            file->Close();
        } catch (...) {
            file.reset();
            DeleteFile(kept);
            throw;
        }
        return kept;
    }
}
