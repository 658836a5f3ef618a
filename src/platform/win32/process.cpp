#include "platform/process.h"

#include "platform/command_words.h"
#include "platform/file_names.h"
#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Windows ends a process that raised an unhandled exception with the exception's code, an
// NTSTATUS of error severity: 0xC0000005 for an access violation, and so on.
bool IsExceptionCode(DWORD code) {
    return (code & 0xF0000000u) == 0xC0000000u;
}

class THandle {
public:
    explicit THandle(HANDLE handle = nullptr) : Handle(handle) {}
    ~THandle() {
        if (Handle) {
            CloseHandle(Handle);
        }
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE Get() const { return Handle; }
    HANDLE Release() { return std::exchange(Handle, nullptr); }

private:
    HANDLE Handle;
};

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool EndsWithLetters(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && SameLetters(text.substr(text.size() - end.size()), end);
}

// The words of a command line as Windows finds its program: the first is quoted or runs to the
// first blank. Only the words before the first quoted one are split further.
struct TCommandWords {
    std::string Program;
    std::string_view Rest; // after the program and the blanks that follow it
};

TCommandWords SplitProgram(std::string_view command) {
    std::size_t end = 0;
    std::string program;
    if (!command.empty() && command.front() == '"') {
        end = command.find('"', 1);
        end = end == std::string_view::npos ? command.size() : end + 1;
        program = std::string(command.substr(1, std::max<std::size_t>(end, 2) - 2));
    } else {
        end = std::min(command.find_first_of(" \t"), command.size());
        program = std::string(command.substr(0, end));
    }
    const std::size_t rest = std::min(command.find_first_not_of(" \t", end), command.size());
    return {program, command.substr(rest)};
}

// cmd.exe reads a batch file's command line before the batch file does. Inside quotes its
// special characters (& | < > ^ ( ) and the blanks) are plain; only % still expands a variable,
// and %cd:~,% (cd's empty substring) after each % keeps it from starting one. The switches
// /e:ON and /v:OFF make sure that the one works and that ! stays plain. A path always ends with
// its name, never with "\", so no backslash meets the closing quote.
std::string BatchQuoted(std::string_view path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '%') {
            quoted += "%%cd:~,";
        }
        quoted += c;
    }
    return quoted + "\"";
}

// Characters that no quoting brings through cmd.exe unchanged; a Windows name holds none.
bool BatchCanCarry(std::string_view path) {
    return path.find_first_of(std::string_view("\"\r\n\0", 4)) == std::string_view::npos;
}

struct TStart {
    std::string Application; // empty: the command line names it
    std::string CommandLine;
};

std::string CommandInterpreter() {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) + "\\cmd.exe" : "cmd.exe";
}

// A setting of the command interpreter that applies where no switch gives it: the user's, else
// the machine's, else what cmd.exe assumes.
bool CommandProcessorSetting(const char* name, bool assumed) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegGetValueA(root, "Software\\Microsoft\\Command Processor", name, RRF_RT_REG_DWORD,
                         nullptr, &value, &size) == ERROR_SUCCESS) {
            return value != 0;
        }
    }
    return assumed;
}

// How command starts on path; nothing when path cannot reach it unchanged.
std::optional<TStart> StartOf(const std::string& command, const std::string& path) {
    const TCommandWords words = SplitProgram(command);
    const std::string program = ExtractFileName(words.Program);
    if (EndsWithLetters(program, ".bat") || EndsWithLetters(program, ".cmd")) {
        if (!BatchCanCarry(path)) {
            return std::nullopt;
        }
        // Started as cmd.exe itself would start it, in the outer quotes that /c takes off.
        const std::string interpreter = CommandInterpreter();
        return TStart{interpreter, "\"" + interpreter + "\" /e:ON /v:OFF /d /c \"" + command + " " +
                                       BatchQuoted(path) + "\""};
    }
    if (SameLetters(program, "cmd") || SameLetters(program, "cmd.exe")) {
        if (!BatchCanCarry(path)) {
            return std::nullopt;
        }
        // The user's own switches stay; the command after /C (or /K) gets the outer quotes.
        // Where they or the system's settings turn ! into a variable's mark or leave % no way
        // to stay plain, a path that holds it cannot come through.
        const TCommandSwitches switches = ReadCommandSwitches(words.Rest);
        const bool delayed =
            switches.DelayedExpansion.value_or(CommandProcessorSetting("DelayedExpansion", false));
        const bool extensions =
            switches.Extensions.value_or(CommandProcessorSetting("EnableExtensions", true));
        if ((delayed && path.find('!') != std::string::npos) ||
            (!extensions && path.find('%') != std::string::npos)) {
            return std::nullopt;
        }
        const std::string line = "\"" + words.Program + "\" ";
        if (switches.Command == std::string_view::npos) {
            return TStart{{}, line + std::string(words.Rest) + " " + BatchQuoted(path)};
        }
        return TStart{{},
                      line + std::string(words.Rest.substr(0, switches.Command)) + "\"" +
                          std::string(words.Rest.substr(switches.Command)) + " " +
                          BatchQuoted(path) + "\""};
    }
    return TStart{{}, CommandLineOf(command, path)};
}

// JOBOBJECT_BASIC_PROCESS_ID_LIST with room for 64 ids. The system writes them past the one id
// that the structure declares, and the compiler, trusting that bound, would read no further
// than the first.
struct TProcessIdList {
    DWORD Assigned;
    DWORD Listed;
    ULONG_PTR Ids[64];
};
static_assert(offsetof(TProcessIdList, Ids) ==
              offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList));

// The job that holds a checker and whatever it starts, so that all of them can be waited for;
// closing it ends every process still in it, also when our program ends.
class TJob {
public:
    TJob() : Handle(CreateJobObjectA(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (Handle.Get()) {
            SetInformationJobObject(Handle.Get(), JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        }
    }

    // False where the system refuses a job inside the one we run in (before Windows 8).
    bool Take(HANDLE process) {
        return Handle.Get() && AssignProcessToJobObject(Handle.Get(), process);
    }

    // What to wait on until the job may be empty: a process of it that has not ended, or where
    // the system does not list them all, a timer of a moment. None when no process is left.
    HANDLE NextWait() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (!Handle.Get() ||
            !QueryInformationJobObject(Handle.Get(), JobObjectBasicAccountingInformation,
                                       &accounting, sizeof accounting, nullptr) ||
            accounting.ActiveProcesses == 0) {
            return nullptr;
        }
        if (const std::optional<HANDLE> member = RunningMember()) {
            return *member;
        }
        HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, nullptr);
        LARGE_INTEGER dueIn{};
        dueIn.QuadPart = -20 * 10000; // 20 ms, in units of 100 ns
        if (timer && !SetWaitableTimer(timer, &dueIn, 0, nullptr, nullptr, FALSE)) {
            CloseHandle(timer);
            timer = nullptr;
        }
        return timer;
    }

    // Ends the checker and every process of the job, and returns once they have ended.
    void EndAll(HANDLE checker) const {
        if (Handle.Get()) {
            TerminateJobObject(Handle.Get(), StoppedCode);
        }
        // Also where the checker could not be put in the job.
        TerminateProcess(checker, StoppedCode);
        WaitForSingleObject(checker, INFINITE);
        while (HANDLE next = NextWait()) {
            THandle owned(next);
            WaitForSingleObject(next, INFINITE);
        }
    }

private:
    static constexpr UINT StoppedCode = 1;

    // A process of the job that has not ended, opened to be waited for; null when none is
    // left, nothing when the system cannot say.
    std::optional<HANDLE> RunningMember() const {
        TProcessIdList ids{};
        if (!QueryInformationJobObject(Handle.Get(), JobObjectBasicProcessIdList, &ids, sizeof ids,
                                       nullptr) &&
            GetLastError() != ERROR_MORE_DATA) {
            return std::nullopt;
        }
        bool known = ids.Listed >= ids.Assigned;
        for (DWORD i = 0; i < ids.Listed; ++i) {
            // Wine tells whether a process is in the job only to a handle that may query all.
            HANDLE member = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE,
                                        static_cast<DWORD>(ids.Ids[i]));
            if (!member) {
                known = known && GetLastError() == ERROR_INVALID_PARAMETER; // ended and gone
                continue;
            }
            THandle owned(member);
            BOOL inJob = FALSE;
            // The number may have gone to another process since the list was made.
            if (!IsProcessInJob(member, Handle.Get(), &inJob)) {
                known = false;
            } else if (inJob && !IsConsoleHost(member) &&
                       WaitForSingleObject(member, 0) == WAIT_TIMEOUT) {
                return owned.Release();
            }
        }
        return known ? std::optional<HANDLE>(nullptr) : std::nullopt;
    }

    // The console that a checker gets has its host process in the job, the system's and not
    // the checker's work: it ends in its own time after its last client, under Wine a third
    // of a second later, which waited for would double the time of every page.
    static bool IsConsoleHost(HANDLE process) {
        char image[MAX_PATH];
        DWORD size = sizeof image;
        return QueryFullProcessImageNameA(process, 0, image, &size) &&
               SameLetters(ExtractFileName({image, size}), "conhost.exe");
    }

private:
    THandle Handle;
};

} // namespace

void BlockUntilEnded(TProcessHandle process) {
    WaitForSingleObject(reinterpret_cast<HANDLE>(process), INFINITE);
}

TProcessOutcome RunCommandOn(const std::string& command, const std::string& path,
                             const TProcessWaiter& wait) {
    TProcessOutcome outcome;
    if (command.empty()) {
        // Never the page itself: an empty command must not make the path the program.
        outcome.StartError = ERROR_FILE_NOT_FOUND;
        return outcome;
    }
    std::optional<TStart> start = StartOf(command, path);
    if (!start) {
        outcome.PathRefused = true;
        return outcome;
    }
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
    // Suspended until it is in its job, so that nothing it starts escapes the job.
    BOOL started = CreateProcessA(start->Application.empty() ? nullptr : start->Application.c_str(),
                                  start->CommandLine.data(), nullptr, nullptr, FALSE,
                                  CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED,
                                  nullptr, nullptr, &startup, &process);
    DWORD startError = GetLastError();
    SetErrorMode(errorMode);
    if (!started) {
        outcome.StartError = static_cast<int>(startError);
        return outcome;
    }
    outcome.Started = true;
    THandle checker(process.hProcess);
    TJob job;
    // Without a job, only the checker itself is waited for.
    job.Take(checker.Get());
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);

    DWORD code = 0;
    try {
        wait(reinterpret_cast<TProcessHandle>(checker.Get()));
        GetExitCodeProcess(checker.Get(), &code);
        while (HANDLE next = job.NextWait()) {
            THandle owned(next);
            wait(reinterpret_cast<TProcessHandle>(next));
        }
    } catch (...) {
        // The wait was given up (the run was stopped): nothing that the checker started may go
        // on and write the output file later.
        job.EndAll(checker.Get());
        throw;
    }
    if (IsExceptionCode(code)) {
        outcome.AbnormalEnd = TProcessOutcome::Exception;
        outcome.AbnormalCode = code;
    } else {
        outcome.ExitStatus = static_cast<int>(code);
    }
    return outcome;
}

std::string CommandLineOf(const std::string& command, const std::string& path) {
    return command + " \"" + path + "\"";
}
