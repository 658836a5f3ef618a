#include "fake_checker.h"
#include "fake_checker_system.h"

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <cstdio>

void EndAbnormally() {
    RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
}

bool StartLateCopy(int argc, char** argv) {
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
}

bool EndProcess(long pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
    const bool ended = process != nullptr && TerminateProcess(process, 9);
    if (process != nullptr) {
        CloseHandle(process);
    }
    return ended;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

namespace {

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

} // namespace

std::optional<int> SystemAction(const std::string& output, const std::string& action, int argc,
                                char** argv) {
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
    return std::nullopt;
}
