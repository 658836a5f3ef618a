#include "app/headless_run.h"

#include "app/batch_run.h"
#include "app/check_record.h"
#include "app/output_reset.h"
#include "app/run_resume.h"
#include "app/run_texts.h"
#include "app/site_scan.h"
#include "app/start_texts.h"
#include "app/unreadable_sites.h"
#include "files/file_list.h"
#include "platform/console.h"
#include "platform/exceptions.h"
#include "platform/executable.h"
#include "platform/file_identity.h"
#include "platform/instance_lock.h"
#include "platform/narrow_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_set>

namespace {

using Clock = std::chrono::steady_clock;

void Say(const std::string& message) {
    WriteStandardError(message + "\n");
}

// "1:05" or "2:03:45".
std::string Duration(std::chrono::seconds time) {
    const long long total = time.count();
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    }
    return text;
}

// The run as standard error shows it: on a terminal one line that keeps its place, otherwise a
// line a page; what the window's boxes say comes on lines of its own, and the status the run
// ends with last.
class TConsoleRunView : public TBatchRunView {
public:
    TConsoleRunView(std::vector<std::string> pages, std::vector<char> checks, bool japanese)
        : Pages(std::move(pages)), Checks(std::move(checks)), Japanese(japanese),
          Terminal(StandardErrorIsTerminal()) {}

    int PageCount() const override { return static_cast<int>(Pages.size()); }
    std::string Page(int index) const override { return Pages[static_cast<std::size_t>(index)]; }
    bool PageChecked(int index) const override {
        return Checks[static_cast<std::size_t>(index)] != 0;
    }
    void UncheckPage(int index) override { Checks[static_cast<std::size_t>(index)] = 0; }

    void ShowPageInProgress(int index) override {
        std::string line = "[" + std::to_string(Done + 1) + "/" + std::to_string(Total) + "] ";
        if (Done > 0) {
            const auto perPage = (Clock::now() - Start) / Done;
            const auto left =
                std::chrono::duration_cast<std::chrono::seconds>(perPage * (Total - Done));
            line += Japanese ? NarrowText("残り約 ") + Duration(left) + " "
                             : "about " + Duration(left) + " left ";
        }
        line += Page(index);
        if (Terminal) {
            ShowTerminalLine(line);
            LineShown = true;
        } else {
            Say(line);
        }
    }
    void ShowStatus(const std::string& text) override { LastStatus = text; }
    void ShowProgress(int done, int total) override {
        if (done == 0) {
            Start = Clock::now();
        }
        Done = done;
        Total = total;
    }
    void PauseBetweenPages() override {}
    void WaitForChecker(TProcessHandle process) override {
        if (!WaitUnlessStopRequested(process)) {
            throw ERunStopped();
        }
    }
    bool AskRetry(const std::string& message) override {
        Tell(message);
        return false; // no one to ask: the report is kept under a name of its own
    }
    bool OpenResult(const std::string&) override { return true; }
    bool StopRequested() const override { return StopRequestStatus() != 0; }
    void ShowWarning(const std::string& message) override { Tell(message); }

    // Says text on lines of its own, after the progress line.
    void Tell(const std::string& text) {
        if (LineShown) {
            WriteStandardError("\n");
            LineShown = false;
        }
        Say(text);
    }
    void Finish() { Tell(LastStatus); }

private:
    std::vector<std::string> Pages;
    std::vector<char> Checks;
    bool Japanese;
    bool Terminal;
    bool LineShown = false;
    int Done = 0;
    int Total = 0;
    Clock::time_point Start = Clock::now();
    std::string LastStatus;
};

constexpr int Failed = 2;

} // namespace

int RunWithoutWindow(const TCommandLine& line) {
    CatchStopRequests();
    if (std::optional<std::string> unnamed = ExeNameOutsideCodePage()) {
        Say(ProgramUnnamed + " " + *unnamed);
        return Failed;
    }
    TSettingsProblems problems;
    const TStringList siteDirs = ReadSiteDirs(CompanionSettingsPath(), problems);
    TProgramSettings settings = ReadProgramSettings(OwnSettingsPath(), problems);
    for (const std::string& problem : problems) {
        Say(problem);
    }
    if (settings.OutputFile.empty() || settings.LintProgram.empty()) {
        Say(settings.OutputFile.empty() ? NoOutputFile : NoChecker);
    }
    if (!problems.empty() || settings.OutputFile.empty() || settings.LintProgram.empty()) {
        return Failed;
    }
    const TOutputFileLock lock(settings.OutputFile);
    if (lock.Failed() || lock.HeldElsewhere()) {
        Say(lock.Failed() ? lock.FailureText() : AlreadyRunning + settings.OutputFile);
        return Failed;
    }

    TFileList files;
    ScanSites(siteDirs, files);
    const std::vector<std::string> pages(files.begin(), files.end());
    if (!files.LeftOut().empty()) {
        const TLeftOutNotice notice = LeftOutNotice(files.LeftOut());
        Say(notice.Message);
        for (const std::string& leftOut : notice.Lines) {
            Say(leftOut);
        }
    }
    if (const std::vector<std::string> unreadable = UnreadableSites(siteDirs);
        !unreadable.empty()) {
        Say(UnreadableSitesNotice(unreadable));
    }

    std::vector<char> checks(pages.size(), 1);
    if (line.ChangedOnly) {
        std::string setAside;
        try {
            checks = ChangedPages(pages, settings, setAside);
        } catch (const EInOutError& error) {
            Say(error.Message); // a record that cannot be trusted, and cannot be set aside
            return Failed;
        }
        if (!setAside.empty()) {
            Say(CheckRecordSetAsideText(CheckRecordPathFor(settings.OutputFile), setAside));
        }
        // Nothing to do leaves the last result as it is, unless a run cut short waits.
        if (std::count(checks.begin(), checks.end(), 1) == 0 &&
            FileTypeOf(JournalPathFor(settings.OutputFile)) == TFileType::Missing) {
            Say(NothingChanged);
            return 0;
        }
    }
    if (const int stop = StopRequestStatus(); stop != 0) {
        return stop; // before anything was touched
    }
    if (std::optional<TOutputResetProblem> problem = ResetOutputFile(settings, siteDirs, files)) {
        Say(problem->Message);
        return Failed;
    }

    const TRunSettings runSettings = RunSettingsOf(siteDirs, settings);
    const std::string journalPath = JournalPathFor(settings.OutputFile);
    std::optional<TJournalFinding> continued;
    try {
        TJournalFinding found = FindJournal(journalPath, runSettings);
        if (found.Kind == TJournalFinding::SetAside) {
            Say(JournalSetAsideText(journalPath, found.Kept));
        } else if (found.Kind == TJournalFinding::OtherSettings && !found.Kept.empty()) {
            Say(OtherSettingsText(found.Kept));
        } else if (found.Kind == TJournalFinding::Unfinished && !line.Continue) {
            if (const std::string kept = KeepUnfinishedRun(journalPath, settings.OutputFile, found);
                !kept.empty()) {
                Say(UnfinishedKeptText(kept));
            }
        } else if (found.Kind == TJournalFinding::Unfinished) {
            // Only what the scan listed is checked: a path of the journal selects, never names.
            const std::vector<std::string> pending = found.Content.Pending();
            const std::unordered_set<std::string> toCheck(pending.begin(), pending.end());
            for (std::size_t i = 0; i < pages.size(); ++i) {
                checks[i] = toCheck.contains(pages[i]);
            }
            Say(ContinuingText(
                static_cast<std::size_t>(std::count(checks.begin(), checks.end(), 1))));
            continued = std::move(found);
        }
    } catch (const EInOutError& error) {
        Say(error.Message);
        return Failed;
    }

    // No page to check is no failure: a site without pages, or nothing changed while a run cut
    // short waited and was kept aside.
    if (std::count(checks.begin(), checks.end(), 1) == 0) {
        Say(StatusNothingChecked);
        return 0;
    }
    TConsoleRunView view(pages, std::move(checks), UserLanguageIsJapanese());
    std::optional<TContinuedRun> continuedRun;
    if (continued) {
        continuedRun.emplace(TContinuedRun{continued->Content, continued->Id});
    }
    const TRunOutcome outcome =
        RunBatch(settings, runSettings, view, continuedRun ? &*continuedRun : nullptr);
    view.Finish();
    if (const int stop = StopRequestStatus(); stop != 0) {
        return stop;
    }
    if (!outcome.Started) {
        return Failed;
    }
    return outcome.Saved && outcome.PagesWithoutReport == 0 ? 0 : 1;
}
