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
//   batch_run_bench starts COUNT COMMAND PAGE
//       starts the checker on PAGE COUNT times as the batch run does, one after another, and
//       prints the seconds that one start took, from its start to its end
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

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <thread>
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

int Run(int argc, char** argv, bool secondSave) {
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

    const Clock::time_point start = Clock::now();
    form->ExecuteBatch();
    const double batch = Since(start);

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

    if (!secondSave) {
        std::printf("%.6f %d %ld\n", batch, pages, PeakMemory());
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

int Starts(int count, const std::string& command, const std::string& page) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        if (!RunLint(command, page).Started) {
            Fail("the checker did not start: " + command);
        }
    }
    std::printf("%.6f\n", Since(start) / count);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "list") == 0) {
            return List(argv[2]);
        }
        if (argc == 6 && std::strcmp(argv[1], "run") == 0) {
            return Run(argc, argv, true);
        }
        if (argc == 6 && std::strcmp(argv[1], "memory") == 0) {
            return Run(argc, argv, false);
        }
        if (argc == 5 && std::strcmp(argv[1], "starts") == 0 && std::atoi(argv[2]) > 0) {
            return Starts(std::atoi(argv[2]), argv[3], argv[4]);
        }
    } catch (const std::exception& failure) {
        Fail(failure.what());
    }
    std::fprintf(stderr, "usage: batch_run_bench list SITE\n"
                         "       batch_run_bench run PROGRAM_DIR SITE OUTPUT COMMAND\n"
                         "       batch_run_bench memory PROGRAM_DIR SITE OUTPUT COMMAND\n"
                         "       batch_run_bench starts COUNT COMMAND PAGE\n");
    return 2;
}
