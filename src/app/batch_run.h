#pragma once

#include "platform/process.h"
#include "settings/sites_and_program.h"

#include <string>

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
    // Opens the combined report with the desktop's program for it.
    virtual void OpenResult(const std::string& path) = 0;
};

// The run: for every page that is checked when its turn comes, a section in the combined report
// (its header, then what the checker left or why it left nothing), and the page unchecked. The
// combined report then replaces the output file, the checker's last report going to the
// backup name; a save that fails is offered again until it succeeds or the user gives up.
// Returns whether the report was saved, shown and opened; when it was not, the status line
// says why.
bool RunBatch(const TProgramSettings& settings, TBatchRunView& view);
