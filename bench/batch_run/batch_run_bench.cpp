// The timing program behind bench/batch_run.sh (Linux) and bench/batch_run_wine.sh (Windows,
// under Wine).
//
//   batch_run_bench list SITE
//       prints the site's pages one a line, in the order the program's scan lists them
//   batch_run_bench run PROGRAM_DIR SITE OUTPUT COMMAND
//       places the whole program in PROGRAM_DIR (its settings files beside a pretended
//       executable) with COMMAND as the checker command and OUTPUT as the output file, shows its
//       window, waits for the scan of SITE, then times the batch run over every page and prints
//       "<seconds of the batch run> <pages> <seconds of the final save alone>"
//   batch_run_bench memory PROGRAM_DIR SITE OUTPUT COMMAND
//       as run, but without the second save, and prints "<seconds of the batch run> <pages>
//       <peak resident memory of the whole program in KiB>" (Linux)
//   batch_run_bench split PROGRAM_DIR SITE OUTPUT COMMAND
//       as run, but after each page the checker is started once more on that page, alone, as
//       the run starts it and waited for the same way; prints "<seconds of the batch run less
//       those starts> <pages> <median seconds of a page> <median seconds of a start alone>
//       <median seconds of a page less the start alone after it>"
//
// Folders end with the separator. The combined report is left in OUTPUT, so that the script can
// compare it with its own.
#include "app/batch_check.h"
#include "app/main.h"
#include "app/site_scan.h"
#include "checklist/checklst.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_io.h"
#include "platform/widgets/application.h"
#include "platform/widgets/desktop.h"
#include "platform/widgets/toolkit.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "batch_run_bench: %s\n", message.c_str());
    std::exit(1);
}

// Handles the window's events until done() holds; false after seconds without.
bool WaitFor(TApplication& application, const std::function<bool()>& done, double seconds) {
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (Since(start) > seconds) {
            return false;
        }
        application.ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

int List(const std::string& site) {
    TStringList sites;
    sites.Add(site);
    TFileList pages;
    ScanSites(sites, pages);
    for (const std::string& page : pages) {
        std::printf("%s\n", page.c_str());
    }
    return 0;
}

// The most memory the program has held at once, in KiB; 0 where the system does not say.
long PeakMemory() {
#ifdef _WIN32
    return 0;
#else
    rusage usage{};
    return ::getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
#endif
}

enum class TAfterRun { SecondSave, Nothing, CheckerAlone };

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The run's own work for a page is what its time exceeds a start of the checker alone by. A
// start under Wine costs some 140 ms and drifts by several ms from one process or minute to
// the next, so the two are taken side by side: after each page, as the progress is shown, one
// start alone on the page just checked, which the page times leave out.
class TSplitTimes {
public:
    TSplitTimes(TApplication& application, TForm& form, const std::string& command,
                const TCheckListBox& list)
        : Application(application), Form(form), Command(command), List(list) {
        OverrideTaskProgress([this](const TTaskProgress& progress) { Shown(progress); });
    }
    ~TSplitTimes() { OverrideTaskProgress(nullptr); }
    TSplitTimes(const TSplitTimes&) = delete;
    TSplitTimes& operator=(const TSplitTimes&) = delete;

    std::vector<double> Pages, Alone;
    double AloneTotal = 0;

private:
    void Shown(const TTaskProgress& progress) {
        ShowProgressOnDesktop(Form, progress);
        if (progress.State != TProgressState::Normal) {
            return;
        }
        const Clock::time_point shown = Clock::now();
        if (progress.Done == 0) {
            PageStart = shown;
            return;
        }
        Pages.push_back(std::chrono::duration<double>(shown - PageStart).count());
        const TProcessOutcome outcome =
            RunLint(Command, List.Items()[progress.Done - 1],
                    [this](TProcessHandle process) { Application.WaitForProcessEnd(process); });
        if (!outcome.Started) {
            Fail("the checker did not start: " + Command);
        }
        Alone.push_back(Since(shown));
        AloneTotal += Alone.back();
        PageStart = Clock::now();
    }

    TApplication& Application;
    TForm& Form;
    const std::string& Command;
    const TCheckListBox& List;
    Clock::time_point PageStart;
};

int Run(int argc, char** argv, TAfterRun after) {
    const std::string programDir = argv[2];
    const std::string site = argv[3];
    const std::string output = argv[4];
    const std::string command = argv[5];
    OverrideExeName(programDir + "allcheck");
    WriteFileBytes(programDir + "KESTOLA.INI", "[Directory]\r\nLocalPath=" + site + "\r\n");
    WriteFileBytes(programDir + "allcheck.INI",
                   "[Program]\nVornaxelBatch=" + command + "\nOutputFile=" + output + "\n");

    TApplication application(argc, argv);
    application.Initialize();
    ProbeCheckBoxSize();
    std::string opened;
    OverrideShellOpener([&opened](const std::string& item) { opened = item; });
    auto* form = application.CreateForm<TMainForm>();
    form->Show();
    if (!WaitFor(
            application, [form] { return form->BExecLint->Enabled(); }, 60)) {
        Fail("the scan did not end");
    }
    const int pages = form->CLBLintFile->Items().Count();

    std::optional<TSplitTimes> split;
    if (after == TAfterRun::CheckerAlone) {
        split.emplace(application, *form, command, *form->CLBLintFile);
    }
    const Clock::time_point start = Clock::now();
    form->ExecuteBatch();
    const double batch = Since(start) - (split ? split->AloneTotal : 0);

    // A run that skipped pages or never reached its end would time the wrong thing.
    for (int i = 0; i < pages; ++i) {
        if (form->CLBLintFile->ItemChecked(i)) {
            Fail("page " + std::to_string(i) + " is still checked after the run");
        }
    }
    // The desktop is handed a file: URL on Linux, the path on Windows.
    if (!opened.ends_with(output)) {
        Fail("the combined report was not opened: \"" + opened + "\"");
    }

    if (after == TAfterRun::Nothing) {
        std::printf("%.6f %d %ld\n", batch, pages, PeakMemory());
        OverrideShellOpener(nullptr);
        application.DestroyForms();
        OverrideExeName("");
        return 0;
    }
    if (split) {
        if (split->Pages.size() != static_cast<std::size_t>(pages)) {
            Fail("the run showed the progress of " + std::to_string(split->Pages.size()) +
                 " pages");
        }
        std::vector<double> rest;
        for (std::size_t i = 0; i < split->Pages.size(); ++i) {
            rest.push_back(split->Pages[i] - split->Alone[i]);
        }
        std::printf("%.6f %d %.6f %.6f %.6f\n", batch, pages, Median(split->Pages),
                    Median(split->Alone), Median(rest));
        split.reset();
        OverrideShellOpener(nullptr);
        application.DestroyForms();
        OverrideExeName("");
        return 0;
    }
    // The same save once more, to show how much of the run the end alone takes.
    const std::string combined = LoadTextFile(output);
    TFileId saved;
    if (!GetFileId(output, saved)) {
        Fail("the combined report is gone");
    }
    const Clock::time_point saveStart = Clock::now();
    SaveTextFile(output, combined, saved);
    const double save = Since(saveStart);

    std::printf("%.6f %d %.6f\n", batch, pages, save);
    OverrideShellOpener(nullptr);
    application.DestroyForms();
    OverrideExeName("");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "list") == 0) {
            return List(argv[2]);
        }
        if (argc == 6 && std::strcmp(argv[1], "run") == 0) {
            return Run(argc, argv, TAfterRun::SecondSave);
        }
        if (argc == 6 && std::strcmp(argv[1], "memory") == 0) {
            return Run(argc, argv, TAfterRun::Nothing);
        }
        if (argc == 6 && std::strcmp(argv[1], "split") == 0) {
            return Run(argc, argv, TAfterRun::CheckerAlone);
        }
    } catch (const std::exception& failure) {
        Fail(failure.what());
    }
    std::fprintf(stderr, "usage: batch_run_bench list SITE\n"
                         "       batch_run_bench run PROGRAM_DIR SITE OUTPUT COMMAND\n"
                         "       batch_run_bench memory PROGRAM_DIR SITE OUTPUT COMMAND\n"
                         "       batch_run_bench split PROGRAM_DIR SITE OUTPUT COMMAND\n");
    return 2;
}
