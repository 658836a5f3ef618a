#include "platform/instance_lock.h"

#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "platform/system.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

std::string FileNameKey(const std::string& file) {
    std::wstring name = Widen(CP_ACP, file);
    const std::wstring system = SystemPath(name);
    std::wstring longName(static_cast<std::size_t>(MAX_PATH), L'\0');
    DWORD size =
        GetLongPathNameW(system.c_str(), longName.data(), static_cast<DWORD>(longName.size()));
    if (size >= longName.size()) {
        longName.resize(size);
        size =
            GetLongPathNameW(system.c_str(), longName.data(), static_cast<DWORD>(longName.size()));
    }
    if (size > 0 && size < longName.size()) {
        name = longName.substr(0, size);
    }
    name.erase(0, name.find_last_of(L"\\/:") + 1);
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return Narrow(CP_UTF8, name);
}

TOutputFileLock::TOutputFileLock(const std::string& path) {
    const std::string key = OutputFileKey(path);
    if (key.empty()) {
        return;
    }
    const std::string name = "AllVornaxelCheck-" + key;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, Widen(CP_ACP, "Local\\" + name).c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr) {
        // A mutex of that name that this user may not open is held by another program too.
        Elsewhere = error == ERROR_ACCESS_DENIED;
        if (!Elsewhere) {
            Failure = NarrowText("出力ﾌｧｲﾙのﾛｯｸを取れないので終了します。") + name +
                      NarrowText(" を使えません (") + SystemErrorText(static_cast<int>(error)) +
                      ")";
        }
    } else if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        Elsewhere = true;
    } else {
        Handle = reinterpret_cast<std::intptr_t>(mutex);
    }
    LockKey = Handle != -1 || Elsewhere ? name : std::string();
}

TOutputFileLock::~TOutputFileLock() {
    if (Handle != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(Handle));
    }
}
