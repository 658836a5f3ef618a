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
// exe-name  writes its own path as the program would learn that it cannot use it
//           (ExeNameOutsideCodePage): in UTF-8, or nothing when ExeName() names it
#include "fake_checker.h"

#include "platform/executable.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <csignal>
#include <sys/stat.h>
#endif

namespace {

bool Write(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

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

void EndAbnormally() {
#ifdef _WIN32
    RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
#else
    std::raise(SIGKILL);
#endif
}

bool MakeFolder(const std::string& path) {
#ifdef _WIN32
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
    return ::mkdir(path.c_str(), 0755) == 0;
#endif
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
        std::string all;
        for (int i = 3; i < argc; ++i) {
            all += "[" + std::string(argv[i]) + "]";
        }
        return Write(output, all + FakeReport) ? 0 : 101;
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
    if (action == "touch") {
        return Write(output + ".ran", "") ? 0 : 101;
    }
#ifdef _WIN32
    if (action == "startup") {
        STARTUPINFOA startup{};
        GetStartupInfoA(&startup);
        char text[64];
        std::snprintf(text, sizeof text, "flags %lx show %x", startup.dwFlags, startup.wShowWindow);
        return Write(output, text) ? 0 : 101;
    }
#endif
    if (action == "exe-name") {
        return Write(output, ExeNameOutsideCodePage().value_or("")) ? 0 : 101;
    }
    if (action == "crash") {
        Write(output, "half");
        EndAbnormally();
    }
    return 100;
}
