#include "app/batch_run.h"

#include "app/batch_check.h"
#include "app/status_texts.h"
#include "files/text_file.h"
#include "platform/exceptions.h"

#include <algorithm>

namespace {

int CheckedPages(const TBatchRunView& view) {
    int checked = 0;
    for (int i = 0; i < view.PageCount(); ++i) {
        checked += view.PageChecked(i) ? 1 : 0;
    }
    return checked;
}

// A combined report that cannot be saved is offered again rather than lost, also where the
// output file was replaced; when the user gives up, the status line keeps saying why.
bool SaveResult(const TProgramSettings& settings, const std::string& resultText,
                TBatchRunView& view) {
    for (;;) {
        try {
            SaveTextFile(settings.OutputFile, resultText, settings.OutputFileId);
            return true;
        } catch (const EInOutError& error) {
            if (!view.AskRetry(error.Message)) {
                view.ShowStatus(error.Message);
                return false;
            }
        }
    }
}

} // namespace

bool RunBatch(const TProgramSettings& settings, TBatchRunView& view) {
    std::string resultText;
    const int count = view.PageCount();
    const int total = CheckedPages(view);
    int done = 0;
    view.ShowProgress(done, total);
    for (int i = 0; i < count; ++i) {
        if (!view.PageChecked(i)) {
            continue;
        }
        const std::string path = view.Page(i);
        view.ShowPageInProgress(i);
        view.ShowStatus(StatusProcessing(i, count, path));
        resultText += SectionHeader(settings, path);
        resultText += CheckOnePage(
            settings, path, [&view](TProcessHandle process) { view.WaitForChecker(process); });
        view.UncheckPage(i);
        // Pages the user checked during the run count too, once they are done.
        ++done;
        view.ShowProgress(done, std::max(total, done));
        view.PauseBetweenPages();
    }
    if (!SaveResult(settings, resultText, view)) {
        return false;
    }
    view.ShowStatus(StatusAllDone);
    view.OpenResult(settings.OutputFile);
    return true;
}
