#pragma once

#include "app/run_journal.h"
#include "platform/exceptions.h"
#include "platform/process.h"
#include "settings/sites_and_program.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Raised by a view's WaitForChecker when the user stops the run while a checker runs: the
// checker and everything it started are ended, and the page counts as not checked.
class ERunStopped : public Exception {
public:
    ERunStopped() : Exception("stopped") {}
};

// What a batch run needs of the window that shows it. Every call returns once it is done; the
// window's one thread runs them all.
class TBatchRunView {
public:
    virtual ~TBatchRunView() = default;

    // The pages in list order. Whether a page is checked is asked when its turn comes, since the
    // user may change the checks in every pause.
    virtual int PageCount() const = 0;
    virtual std::string Page(int index) const = 0;
    virtual bool PageChecked(int index) const = 0;
    virtual void UncheckPage(int index) = 0;
    // A count that changes whenever a page's check does, so that the run need not ask every
    // page after every pause; nothing where the view keeps none.
    virtual std::optional<unsigned> CheckChanges() const { return std::nullopt; }

    // The page whose checker runs next: the window keeps it in view.
    virtual void ShowPageInProgress(int index) = 0;
    // Shows text on the status line, painted before returning.
    virtual void ShowStatus(const std::string& text) = 0;
    // done of the total pages that were checked when the run started; once at the start and
    // after each page. The run is over when RunBatch returns.
    virtual void ShowProgress(int done, int total) = 0;
    // Between two pages: what the user did meanwhile (checks, the menu) takes effect here.
    virtual void PauseBetweenPages() = 0;
    // While a checker runs: returns once process has ended. A window goes on painting and
    // answering the system meanwhile, and keeps the user's input for the next pause.
    virtual void WaitForChecker(TProcessHandle process) { BlockUntilEnded(process); }
    // A failure that may be tried again: true to try again.
    virtual bool AskRetry(const std::string& message) = 0;
    // Opens the combined report with the desktop's program for it; false when the desktop could
    // not.
    virtual bool OpenResult(const std::string& path) = 0;
    // Whether the user has asked to stop the run; asked after every page.
    virtual bool StopRequested() const { return false; }
    // Says in one box what the status line cannot hold: the pages that have no checker's
    // report, where a combined report that could not be saved is kept.
    virtual void ShowWarning(const std::string& message) = 0;
};

// The unfinished run that a run continues: its journal, read at start-up, and the file that
// journal was then.
struct TContinuedRun {
    const TJournalContent& Content;
    TFileId JournalId;
};

// How a run ended.
struct TRunOutcome {
    bool Started = false; // some page was to be checked, and the journal could be written
    bool Saved = false;   // the combined report replaced the output file
    bool Stopped = false; // the user stopped the run, or its journal could not be written
    std::size_t PagesWithoutReport = 0;
    explicit operator bool() const { return Saved; }
};

// The run: for every page that is checked when its turn comes, a section in the combined report
// (its header, then what the checker left or why it left nothing), and the page unchecked. Each
// section goes to the journal beside the output file (run_journal.h) before the next page
// begins; a run cut short is continued from that journal. At the end, or when the user stops
// the run, the combined report is written from the journal into the output file, the checker's
// last report going to the backup name; a save that fails is offered again until it succeeds
// or the user gives up, and then kept under a name of its own. A finished run removes its
// journal; a stopped one keeps it. Every page whose checker left its report is added to the
// record of checked pages (check_record.h). The status line says how the run ended.
TRunOutcome RunBatch(const TProgramSettings& settings, const TRunSettings& runSettings,
                     TBatchRunView& view, const TContinuedRun* continued = nullptr);

// Hands every section of a combined report, in order, to take.
using TSectionTaker = std::function<void(std::string_view section)>;
using TSectionSource = std::function<void(const TSectionTaker& take)>;

// Writes the combined report that sections give into a new file beside the output file, named
// "<output file without extension>-unfinished-<YYYYMMDD-HHMMSS><extension>" after time (local),
// never over an existing file; gives that name. Raises EInOutError.
std::string KeepUnfinishedReport(const std::string& outputFile, std::int64_t time,
                                 const TSectionSource& sections);
