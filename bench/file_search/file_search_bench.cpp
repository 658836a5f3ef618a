// The timing program behind bench/file_search.sh.
//
//   file_search_bench generate DIR      make the benchmark tree below DIR (which must not exist)
//   file_search_bench scan DIR/         scan one site exactly as the program does and print
//                                       "<seconds> <files> <peak KiB>"
//   file_search_bench run PROGRAM ARGS  run a program with its output thrown away and print
//                                       "<seconds> <peak KiB>" of that run
#include "app/site_scan.h"
#include "files/file_list.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void MakeDir(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

void MakeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    ::close(fd);
}

// About 10,000 directories (a random tree: each new one below a directory chosen at random,
// plus 100 hidden leaf directories) holding about 100,000 empty files, a tenth of them pages
// (.html twice as often as .htm, one in eight with an upper-case extension), 1 % hidden.
int Generate(const std::string& root) {
    std::mt19937 random(20261207);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const char* words[] = {"news",  "archive", "img",   "products", "blog",  "2019",  "2020",
                           "about", "docs",    "en",    "ja",       "items", "tags",  "static",
                           "pages", "old",     "media", "support",  "shop",  "events"};
    MakeDir(root);
    std::vector<std::string> dirs{root + "/"};
    for (int i = 1; i < 9900; ++i) {
        std::string dir = dirs[pick(dirs.size())] + words[pick(20)] + "-" + std::to_string(i) + "/";
        MakeDir(dir);
        dirs.push_back(dir);
    }
    for (int i = 0; i < 100; ++i) {
        std::string dir = dirs[pick(dirs.size())] + ".cache-" + std::to_string(i) + "/";
        MakeDir(dir);
        dirs.push_back(dir);
    }
    const char* others[] = {".css", ".js", ".png", ".jpg", ".gif", ".txt", ".json", ".svg", ".pdf"};
    const char* pages[] = {".html", ".html", ".htm", ".html", ".html", ".htm", ".html", ".htm",
                           ".html", ".html", ".htm", ".html", ".html", ".htm", ".HTML", ".Htm"};
    int pageCount = 0;
    for (int i = 0; i < 100000; ++i) {
        std::string name =
            (pick(100) == 0 ? "." : "") + std::string(words[pick(20)]) + "_" + std::to_string(i);
        if (pick(10) == 0) {
            name += pages[pick(16)];
            ++pageCount;
        } else {
            name += others[pick(9)];
        }
        MakeFile(dirs[pick(dirs.size())] + name);
    }
    std::printf("%zu directories, 100000 files, %d pages\n", dirs.size(), pageCount);
    return 0;
}

long PeakKiB(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    return usage.ru_maxrss;
}

int Scan(const std::string& site) {
    Clock::time_point start = Clock::now();
    TStringList sites;
    sites.Add(site);
    TFileList files;
    ScanSites(sites, files);
    double seconds = Since(start);
    std::printf("%.6f %d %ld\n", seconds, files.Count(), PeakKiB(RUSAGE_SELF));
    return 0;
}

int Run(char** argv) {
    Clock::time_point start = Clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execvp(argv[0], argv);
        std::perror(argv[0]);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    double seconds = Since(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        return 1;
    }
    std::printf("%.6f %ld\n", seconds, usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0) {
        return Generate(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "scan") == 0) {
        return Scan(argv[2]);
    }
    if (argc >= 3 && std::strcmp(argv[1], "run") == 0) {
        return Run(argv + 2);
    }
    std::fprintf(stderr, "usage: %s generate DIR | scan DIR/ | run PROGRAM [ARGS...]\n", argv[0]);
    return 2;
}
