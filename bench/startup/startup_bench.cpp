// The timing program behind bench/startup.sh: the main window's time to appear (made, its
// settings read and its site menu built, shown and exposed) with 100,000 sites in LocalPath
// that all share one folder name, against the same window with one site (with none the window
// would stop at its box saying so), the two measured alternately in one run.
//
//   startup_bench [RUNS]    prints the medians of RUNS runs (default 5)
//
// Fails when a site costs more than MaxMicrosecondsPerSite: far above the linear cost of a
// microsecond or two, far below the several milliseconds a site cost while each site's menu
// item searched the ones before it for a free name.
#include "app/main.h"
#include "checklist/checklst.h"
#include "platform/executable.h"
#include "platform/file_io.h"
#include "platform/widgets/application.h"
#include "platform/widgets/qt/control_impl.h"

#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int SiteCount = 100'000;
constexpr double MaxMicrosecondsPerSite = 20;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "startup_bench: %s\n", message.c_str());
    std::exit(1);
}

// Every site's own folder is "shop", so every site item wants the same component name.
std::string SharedNameSites() {
    std::string localPath;
    for (int i = 0; i < SiteCount; ++i) {
        localPath += (i == 0 ? "/nowhere/" : ",/nowhere/") + std::to_string(i) + "/shop/";
    }
    return localPath;
}

double TimeToAppear(TApplication& application, const std::string& programDir,
                    const std::string& localPath, int sites) {
    WriteFileBytes(programDir + "KESTOLA.INI", "[Directory]\r\nLocalPath=" + localPath + "\r\n");
    const Clock::time_point start = Clock::now();
    auto* form = application.CreateForm<TMainForm>();
    form->Show();
    if (!QTest::qWaitForWindowExposed(QtWidget(*form))) {
        Fail("the window was never shown");
    }
    const double seconds = Since(start);
    if (form->PMSiteCheck->Count() != sites) {
        Fail("the site menu holds " + std::to_string(form->PMSiteCheck->Count()) + " items");
    }
    application.DestroyForms();
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string programDir =
        (std::filesystem::temp_directory_path() / "allcheck-bench-XXXXXX").string();
    if (::mkdtemp(programDir.data()) == nullptr) {
        Fail("cannot create a temporary folder");
    }
    programDir += "/";
    OverrideExeName(programDir + "allcheck"); // no own settings file: no output file to reset

    TApplication application(argc, argv);
    application.Initialize();
    ProbeCheckBoxSize();
    const std::string manySites = SharedNameSites();

    std::vector<double> one, many;
    const std::string oneSite = "/nowhere/0/shop/";
    TimeToAppear(application, programDir, oneSite, 1); // warm-up
    for (int i = 0; i < runs; ++i) {
        one.push_back(TimeToAppear(application, programDir, oneSite, 1));
        many.push_back(TimeToAppear(application, programDir, manySites, SiteCount));
    }
    OverrideExeName("");
    std::filesystem::remove_all(programDir);

    const double baseline = Median(one);
    const double measured = Median(many);
    std::printf("medians of %d runs, the window's time to appear:\n", runs);
    std::printf("  one site                                   %8.2f ms\n", baseline * 1e3);
    std::printf("  %d sites, all named \"shop\" (%.1f MB)  %8.2f ms   ratio %.1f\n", SiteCount,
                static_cast<double>(manySites.size()) / 1e6, measured * 1e3, measured / baseline);
    const double perSite = (measured - baseline) / (SiteCount - 1) * 1e6;
    std::printf("  per site: %.2f us (limit %.0f us)\n", perSite, MaxMicrosecondsPerSite);
    if (perSite > MaxMicrosecondsPerSite) {
        Fail("a site costs more than the limit: the start-up is no longer linear");
    }
    return 0;
}
