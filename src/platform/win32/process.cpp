#include "platform/process.h"

#include "platform/narrow_text.h"
#include "platform/win32/windows_api.h"

#include <cstdint>
#include <cstdio>

namespace {

// Windows ends a process that raised an unhandled exception with the exception's code, an
// NTSTATUS of error severity: 0xC0000005 for an access violation, and so on.
bool IsExceptionCode(DWORD code) {
    return (code & 0xF0000000u) == 0xC0000000u;
}

} // namespace

TProcessOutcome RunCommandOn(const std::string& command, const std::string& path) {
    TProcessOutcome outcome;
    if (command.empty()) {
        // Never the page itself: an empty command must not make the path the program.
        outcome.StartError = ERROR_FILE_NOT_FOUND;
        return outcome;
    }
    std::string commandLine = CommandLineOf(command, path);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // The checker's console opens minimised and inactive: a run of many pages must leave the
    // keyboard and the screen to the user, and no key meant for another window may end it.
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process{};
    // The checker inherits the error mode: one that crashes ends at once, with its exception
    // code, instead of waiting in the system's crash dialog and holding the whole run.
    UINT errorMode = SetErrorMode(0);
    SetErrorMode(errorMode | SEM_NOGPFAULTERRORBOX);
    BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                  CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                                  &startup, &process);
    DWORD startError = GetLastError();
    SetErrorMode(errorMode);
    if (!started) {
        outcome.StartError = static_cast<int>(startError);
        return outcome;
    }
    outcome.Started = true;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (IsExceptionCode(code)) {
        outcome.AbnormalEnd = static_cast<int>(code);
    } else {
        outcome.ExitStatus = static_cast<int>(code);
    }
    return outcome;
}

std::string CommandLineOf(const std::string& command, const std::string& path) {
    return command + " \"" + path + "\"";
}

std::string AbnormalEndText(const TProcessOutcome& outcome) {
    if (outcome.AbnormalEnd == 0) {
        return {};
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<std::uint32_t>(outcome.AbnormalEnd));
    return NarrowText("例外ｺｰﾄﾞ ") + code;
}
