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
// wait-for FILE PAGE...  waits until FILE exists (20 s at most), then does what pages does
// late      starts a copy of itself that does what pages does a moment later, and ends at once
// screen FILE  (Windows) appends what the display shows to FILE, then writes FakeReport
// exe-name  writes its own path as the program would learn that it cannot use it
//           (ExeNameOutsideCodePage): in UTF-8, or nothing when ExeName() names it
#include "fake_checker.h"

#include "platform/executable.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
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

bool Exists(const std::string& path) {
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

// Every argument from the first, each in brackets, then FakeReport.
std::string Pages(int argc, char** argv, int first) {
    std::string all;
    for (int i = first; i < argc; ++i) {
        all += "[" + std::string(argv[i]) + "]";
    }
    return all + FakeReport;
}

// Starts a copy of this program that does "late-child" with the pages and does not wait for it:
// the copy outlives us.
bool StartLateCopy(int argc, char** argv) {
#ifdef _WIN32
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" \"" + argv[1] + "\" late-child";
    for (int i = 3; i < argc; ++i) {
        line += " \"" + std::string(argv[i]) + "\"";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
#else
    const pid_t child = ::fork();
    if (child == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::_exit(Write(argv[1], Pages(argc, argv, 3)) ? 0 : 101);
    }
    return child > 0;
#endif
}

#ifdef _WIN32
// Appends what the display shows, as the window manager has it: its width and height, then its
// pixels 0x00RRGGBB, row by row from the top, each a 32-bit word in the machine's order.
bool AppendScreen(const std::string& path) {
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const std::int32_t size[2] = {width, height};
    std::string bytes(reinterpret_cast<const char*>(size), sizeof size);
    bytes.append(static_cast<const char*>(bits), static_cast<std::size_t>(width) * height * 4);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
#endif

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
        for (int waited = 0; !Exists(argv[3]) && waited < 2000; ++waited) {
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
    if (action == "touch") {
        return Write(output + ".ran", "") ? 0 : 101;
    }
#ifdef _WIN32
    if (action == "screen" && argc > 3) {
        return AppendScreen(argv[3]) && Write(output, FakeReport) ? 0 : 101;
    }
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
