// Runs a Linux program as allcheck.exe's checker under Wine and waits for its end:
//
//   wine-checker.exe PROGRAM ARGUMENTS...
//
// Wine starts a Linux program without a process handle for its caller to wait on, so
// allcheck.exe would go on at once and read the report before the checker had written it.
// This Windows program is what allcheck.exe waits for instead. It starts PROGRAM with a file
// name put before ARGUMENTS; PROGRAM creates that file when it has ended, with its exit
// status inside (scripts/wine-tidy does). This program waits for the file and ends with that
// status.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The command line after its first word (quoted or not) and the blanks behind it.
std::string AfterFirstWord(const std::string& line) {
    std::size_t end = 0;
    if (!line.empty() && line[0] == '"') {
        end = line.find('"', 1);
        end = end == std::string::npos ? line.size() : end + 1;
    } else {
        end = line.find_first_of(" \t");
        end = end == std::string::npos ? line.size() : end;
    }
    return line.substr(std::min(line.find_first_not_of(" \t", end), line.size()));
}

} // namespace

int main() {
    const std::string command = AfterFirstWord(GetCommandLineA());
    const std::string rest = AfterFirstWord(command);
    const std::string program = command.substr(0, command.size() - rest.size());

    char folder[MAX_PATH], done[MAX_PATH];
    if (GetTempPathA(MAX_PATH, folder) == 0 || GetTempFileNameA(folder, "chk", 0, done) == 0) {
        std::fprintf(stderr, "wine-checker: no temporary file\n");
        return 126;
    }
    DeleteFileA(done);

    std::string line = program + "\"" + done + "\" " + rest;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "wine-checker: cannot start %s\n", program.c_str());
        return 127;
    }
    for (HANDLE handle : {process.hProcess, process.hThread}) {
        if (handle) {
            CloseHandle(handle);
        }
    }

    while (GetFileAttributesA(done) == INVALID_FILE_ATTRIBUTES) {
        Sleep(20);
    }
    int status = 0;
    if (std::FILE* file = std::fopen(done, "r")) {
        if (std::fscanf(file, "%d", &status) != 1) {
            status = 125;
        }
        std::fclose(file);
    }
    DeleteFileA(done);
    return status;
}
