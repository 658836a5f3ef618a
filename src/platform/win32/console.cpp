#include "platform/console.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <atomic>

namespace {

// The handle of a standard stream, or, for a program of the window kind started from a
// console, the console of the program that started it.
HANDLE StandardHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        return handle;
    }
    static const HANDLE parentConsole = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            return INVALID_HANDLE_VALUE;
        }
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }();
    return parentConsole;
}

bool IsConsole(HANDLE handle) {
    DWORD mode;
    return GetConsoleMode(handle, &mode) != 0;
}

void WriteTo(DWORD which, std::string_view text) {
    const HANDLE handle = StandardHandle(which);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    if (IsConsole(handle)) {
        // A console shows characters, whatever its own code page.
        const std::wstring wide = AnsiText(text);
        DWORD written;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0) {
            return;
        }
        text.remove_prefix(written);
    }
}

std::atomic<int> StopStatus{0};
HANDLE StopEvent = nullptr;

BOOL WINAPI RequestStop(DWORD event) {
    if (StopStatus.load() != 0) {
        return FALSE; // a second request: the system ends the program
    }
    StopStatus = event == CTRL_C_EVENT ? 130 : 143;
    SetEvent(StopEvent);
    return TRUE;
}

} // namespace

void WriteStandardOutput(std::string_view text) {
    WriteTo(STD_OUTPUT_HANDLE, text);
}

void WriteStandardError(std::string_view text) {
    WriteTo(STD_ERROR_HANDLE, text);
}

bool StandardErrorIsTerminal() {
    return IsConsole(GetStdHandle(STD_ERROR_HANDLE));
}

void ShowTerminalLine(std::string_view text) {
    const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(console, &info)) {
        return;
    }
    const COORD start{0, info.dwCursorPosition.Y};
    DWORD done;
    FillConsoleOutputCharacterW(console, L' ', static_cast<DWORD>(info.dwSize.X), start, &done);
    SetConsoleCursorPosition(console, start);
    // Wide characters of East Asian scripts take two cells, half-width katakana one; the last
    // cell stays free, so that the console never wraps.
    const std::wstring wide = AnsiText(text);
    std::size_t end = 0;
    for (int used = 0; end < wide.size(); ++end) {
        const wchar_t c = wide[end];
        const int width = c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F) ? 2 : 1;
        if (used + width > info.dwSize.X - 1) {
            break;
        }
        used += width;
    }
    WriteConsoleW(console, wide.data(), static_cast<DWORD>(end), &done, nullptr);
}

bool UserLanguageIsJapanese() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

void CatchStopRequests() {
    if (StopEvent == nullptr) {
        StopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        SetConsoleCtrlHandler(RequestStop, TRUE);
    }
}

int StopRequestStatus() {
    return StopStatus.load();
}

bool WaitUnlessStopRequested(TProcessHandle process) {
    const HANDLE handles[] = {reinterpret_cast<HANDLE>(process), StopEvent};
    const DWORD count = StopEvent != nullptr ? 2 : 1;
    return WaitForMultipleObjects(count, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
}
