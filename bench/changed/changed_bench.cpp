// The timing program behind bench/changed.sh: how long choosing the changed pages takes over
// PAGES pages of which one in a hundred changed, against the scan of the same pages measured
// in the same run, the step that comes before it.
//
//   changed_bench SITE PAGES [RUNS]    SITE holds PAGES pages (bench/generate-site)
//
// The record is written as runs write it. Of the changed pages half have new content of the
// same size and half were copied over with the same bytes (both newer), so that the hash is
// read where it must be; the rest are as recorded.
#include "app/check_record.h"
#include "app/site_scan.h"
#include "files/file_list.h"
#include "platform/file_io.h"
#include "platform/string_list.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: changed_bench SITE PAGES [RUNS]\n");
        return 2;
    }
    const std::string site = argv[1];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    TStringList sites;
    sites.Add(site);
    TFileList files;
    ScanSites(sites, files);
    const std::vector<std::string> pages(files.begin(), files.end());

    TProgramSettings settings{"checker", site + "../out.txt", "[", "]"};
    const std::string recordPath = CheckRecordPathFor(settings.OutputFile);
    std::filesystem::remove(recordPath);
    {
        std::optional<TCheckRecordWriter> writer =
            TCheckRecordWriter::Open(recordPath, LoadCheckRecord(recordPath));
        for (const std::string& page : pages) {
            writer->Add({0, page, FingerprintOf(page), "checker", "[", "]"});
        }
    }
    int edited = 0;
    for (std::size_t i = 0; i < pages.size(); i += 100, ++edited) {
        std::string content = ReadFileBytes(pages[i]);
        if (edited % 2 == 0) {
            std::reverse(content.begin(), content.end());
        }
        WriteFileBytes(pages[i], content);
        std::filesystem::last_write_time(pages[i], std::filesystem::last_write_time(pages[i]) +
                                                       std::chrono::seconds(10));
    }

    std::vector<double> scans, choices;
    std::size_t changed = 0;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        TFileList again;
        ScanSites(sites, again);
        scans.push_back(Since(start));
        start = Clock::now();
        std::string setAside;
        const std::vector<char> choice = ChangedPages(pages, settings, setAside);
        choices.push_back(Since(start));
        changed = static_cast<std::size_t>(std::count(choice.begin(), choice.end(), 1));
    }
    std::filesystem::remove(recordPath);
    std::printf("%zu pages, %d edited (%d with new content), medians of %d runs:\n", pages.size(),
                edited, (edited + 1) / 2, runs);
    std::printf("  the scan                  %8.1f ms\n", Median(scans) * 1e3);
    std::printf("  choosing the changed ones %8.1f ms   ratio %.2f to the scan   %zu changed\n",
                Median(choices) * 1e3, Median(choices) / Median(scans), changed);
    if (changed != static_cast<std::size_t>((edited + 1) / 2)) {
        std::fprintf(stderr, "changed_bench: %zu pages counted as changed\n", changed);
        return 1;
    }
    return 0;
}
