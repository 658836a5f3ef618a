// The timing program behind bench/batch_run.sh.
//
//   batch_run_bench list SITE/
//       prints the site's pages one a line, in the order the program's scan lists them
//   batch_run_bench run PROGRAM_DIR/ SITE/ CHECKER OUTPUT
//       places the whole program in PROGRAM_DIR (its settings files beside a pretended
//       executable) with "CHECKER OUTPUT" as the checker command, shows its window, waits for
//       the scan of SITE, then times the batch run over every page and prints
//       "<seconds of the batch run> <pages> <seconds of the final save alone>"
//
// The combined report is left in OUTPUT, so that the script can compare it with its own.
#include "app/main.h"
#include "app/site_scan.h"
#include "checklist/checklst.h"
#include "files/text_file.h"
#include "platform/executable.h"
#include "platform/file_io.h"
#include "platform/widgets/application.h"
#include "platform/widgets/desktop.h"

#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "batch_run_bench: %s\n", message.c_str());
    std::exit(1);
}

// One word of the checker command, whatever blanks the path holds.
std::string Quoted(const std::string& path) {
    if (path.find('\'') != std::string::npos) {
        Fail("a path with a single quote cannot be placed in the command: " + path);
    }
    return "'" + path + "'";
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

int Run(int argc, char** argv) {
    const std::string programDir = argv[2];
    const std::string site = argv[3];
    const std::string checker = argv[4];
    const std::string output = argv[5];
    OverrideExeName(programDir + "allcheck");
    WriteFileBytes(programDir + "KESTOLA.INI", "[Directory]\r\nLocalPath=" + site + "\r\n");
    WriteFileBytes(programDir + "allcheck.INI", "[Program]\nVornaxelBatch=" + Quoted(checker) +
                                                    " " + Quoted(output) +
                                                    "\nOutputFile=" + output + "\n");

    TApplication application(argc, argv);
    application.Initialize();
    ProbeCheckBoxSize();
    std::string opened;
    OverrideShellOpener([&opened](const std::string& url) { opened = url; });
    auto* form = application.CreateForm<TMainForm>();
    form->Show();
    if (!QTest::qWaitFor([form] { return form->BExecLint->Enabled(); }, 60000)) {
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
    if (opened != "file://" + output) {
        Fail("the combined report was not opened: \"" + opened + "\"");
    }

    // The same save once more, to show how much of the run the end alone takes.
    const Clock::time_point saveStart = Clock::now();
    SaveTextFile(output, form->ResultText);
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
            return Run(argc, argv);
        }
    } catch (const std::exception& failure) {
        Fail(failure.what());
    }
    std::fprintf(stderr, "usage: batch_run_bench list SITE/\n"
                         "       batch_run_bench run PROGRAM_DIR/ SITE/ CHECKER OUTPUT\n");
    return 2;
}
