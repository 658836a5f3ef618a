// A checker for the tests, built for every platform the program is:
//
//   fake_checker OUTPUT ACTION PAGE...
//
// report    writes FakeReport to OUTPUT
// args      writes every argument after ACTION to OUTPUT, each in brackets
// pages     writes the pages as args does, then FakeReport
// last-line FILE  writes the last line of FILE to OUTPUT
// problems  writes a line to OUTPUT and exits with 2, as checkers do that found problems
// silent    writes nothing and exits with 3
// folder    puts a folder in the place of OUTPUT
// touch     creates OUTPUT + ".ran"
// crash     writes "half" to OUTPUT, then ends abnormally: by SIGKILL on Linux, by an access
//           violation on Windows
// startup   (Windows) writes how it was asked to show its console: "flags F show S", in hex
// wait-for FILE PAGE...  waits until FILE exists (60 s at most), then does what pages does
// late      starts a copy of itself that does what pages does a moment later, and ends at once
//           (on Linux the copy leaves the checker's session first)
// screen FILE  (Windows) appends what the display shows to FILE, then writes FakeReport
// once-at MARKER NAME DEED PAGE...  for a page whose path ends in NAME, the first time (MARKER
//           does not exist yet): makes MARKER, then does DEED: "hang" (sleeps 60 s and writes
//           nothing) or "end-program" (ends the program whose process id the environment's
//           FAKE_CHECKER_PROGRAM gives at once, as a crash or
//           the task manager would); otherwise does what pages does
// rename-over PAGE...  does what pages does into OUTPUT.tmp, then renames that over OUTPUT, as
//           many tools save
// link-page FILE  puts a second name of FILE in the place of OUTPUT
// fifo      (Linux) puts a FIFO in the place of OUTPUT
// exe-name  writes its own path as the program would learn that it cannot use it
//           (ExeNameOutsideCodePage): in UTF-8, or nothing when ExeName() names it
#include "fake_checker.h"
#include "fake_checker_system.h"

#include "platform/executable.h"

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

bool Write(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string Pages(int argc, char** argv, int first) {
    std::string all;
    for (int i = first; i < argc; ++i) {
        all += "[" + std::string(argv[i]) + "]";
    }
    return all + FakeReport;
}

namespace {

std::string Read(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.append(buffer, got);
        }
        std::fclose(file);
    }
    return bytes;
}

bool Exists(const std::string& path) {
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return 100;
    }
    const std::string output = argv[1];
    const std::string action = argv[2];
    if (action == "report") {
        return Write(output, FakeReport) ? 0 : 101;
    }
    if (action == "args") {
        std::string all;
        for (int i = 3; i < argc; ++i) {
            all += "[" + std::string(argv[i]) + "]";
        }
        return Write(output, all) ? 0 : 101;
    }
    if (action == "pages") {
        return Write(output, Pages(argc, argv, 3)) ? 0 : 101;
    }
    if (action == "last-line" && argc > 3) {
        const std::string lines = Read(argv[3]);
        const std::size_t start = lines.rfind('\n', lines.size() < 2 ? 0 : lines.size() - 2);
        return Write(output, lines.substr(start == std::string::npos ? 0 : start + 1)) ? 0 : 101;
    }
    if (action == "problems") {
        return Write(output, "found problems\n") ? 2 : 101;
    }
    if (action == "silent") {
        return 3;
    }
    if (action == "folder") {
        std::remove(output.c_str());
        return MakeFolder(output) ? 0 : 101;
    }
    if (action == "wait-for" && argc > 3) {
        for (int waited = 0; !Exists(argv[3]) && waited < 6000; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return Write(output, Pages(argc, argv, 4)) ? 0 : 101;
    }
    if (action == "late") {
        return StartLateCopy(argc, argv) ? 0 : 101;
    }
    if (action == "late-child") {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return Write(output, Pages(argc, argv, 3)) ? 0 : 101;
    }
    if (action == "once-at" && argc > 5) {
        const std::string page = argc > 6 ? argv[6] : "";
        const std::string name = argv[4], deed = argv[5];
        if (page.ends_with(name) && !Exists(argv[3]) && Write(argv[3], "")) {
            if (const char* program = std::getenv("FAKE_CHECKER_PROGRAM");
                deed == "end-program" && program != nullptr) {
                return EndProcess(std::strtol(program, nullptr, 10)) ? 0 : 102;
            }
            std::this_thread::sleep_for(std::chrono::seconds(60));
            return 0;
        }
        return Write(output, Pages(argc, argv, 6)) ? 0 : 101;
    }
    if (action == "rename-over") {
        std::error_code failed;
        return Write(output + ".tmp", Pages(argc, argv, 3)) &&
                       (std::filesystem::rename(output + ".tmp", output, failed), !failed)
                   ? 0
                   : 101;
    }
    if (action == "link-page" && argc > 3) {
        std::error_code failed;
        std::filesystem::remove(output, failed);
        std::filesystem::create_hard_link(argv[3], output, failed);
        return failed ? 101 : 0;
    }
    if (action == "touch") {
        return Write(output + ".ran", "") ? 0 : 101;
    }
    if (const std::optional<int> status = SystemAction(output, action, argc, argv)) {
        return *status;
    }
    if (action == "exe-name") {
        return Write(output, ExeNameOutsideCodePage().value_or("")) ? 0 : 101;
    }
    if (action == "crash") {
        Write(output, "half");
        EndAbnormally();
    }
    return 100;
}
