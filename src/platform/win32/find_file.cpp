#include "platform/find_file.h"

#include "platform/file_names.h"
#include "platform/win32/device_name.h"
#include "platform/win32/system_path.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_error.h"

#include <cerrno>

// One enumeration: the system's search handle, the name pattern and the request, and the
// current entry as the system gave it.
struct TFindState {
    ~TFindState() { Close(); }
    void Close() {
        if (Handle != INVALID_HANDLE_VALUE) {
            ::FindClose(Handle);
            Handle = INVALID_HANDLE_VALUE;
        }
    }

    HANDLE Handle = INVALID_HANDLE_VALUE;
    std::string NamePattern;
    int Request = 0;
    std::string Dir;             // the directory part of the pattern
    std::wstring WideDir;        // the same in UTF-16
    std::size_t FullDirSize = 0; // the length of the directory's full path
    int AttrWord = 0;
    std::wstring WideName;
    bool Exact = true;
};

namespace {

// Windows 10 lifts the limit of MAX_PATH characters for a program that declares itself aware
// of long paths (its manifest does) where the machine allows it; older systems never do.
bool LongPathsEnabled() {
    static const bool enabled = [] {
        using TQuery = BOOLEAN(WINAPI*)();
        HMODULE system = GetModuleHandleW(L"ntdll.dll");
        auto query = system == nullptr ? nullptr
                                       : reinterpret_cast<TQuery>(reinterpret_cast<void*>(
                                             GetProcAddress(system, "RtlAreLongPathsEnabled")));
        return query != nullptr && query() != FALSE;
    }();
    return enabled;
}

// Moves to the first entry from data on whose name matches the pattern and that the request
// returns: 0, or the errno value of the system's error (ENOENT at the end).
int SkipUnwanted(TSearchRec& rec, TFindState& state, WIN32_FIND_DATAW& data) {
    for (;;) {
        const int attr = static_cast<int>(data.dwFileAttributes);
        if (AttrRequested(attr, state.Request)) {
            bool exact = true;
            std::string name = Ansi(data.cFileName, exact);
            if (MatchesMask(name, state.NamePattern)) {
                state.WideName = data.cFileName;
                state.Exact = exact;
                state.AttrWord = attr;
                rec.Name = std::move(name);
                return 0;
            }
        }
        if (!FindNextFileW(state.Handle, &data)) {
            return ErrnoOf(GetLastError());
        }
    }
}

} // namespace

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

int TSearchRec::Attr() const {
    return State == nullptr ? 0 : State->AttrWord;
}

bool TSearchRec::HasAttr(int bits) const {
    return (Attr() & bits) != 0;
}

TFileId TSearchRec::Id() const {
    TFileId id;
    if (State == nullptr || !GetFileId(State->Dir + Name, id)) {
        return {};
    }
    return id;
}

bool TSearchRec::ExactName() const {
    return State == nullptr || State->Exact;
}

bool TSearchRec::PathFits() const {
    if (State == nullptr) {
        return true;
    }
    // "con.html" in any folder opens the console: the file itself has no path of its own.
    if (IsDeviceName(Name)) {
        return false;
    }
    return State->FullDirSize + State->WideName.size() < MAX_PATH || LongPathsEnabled();
}

std::string TSearchRec::UnicodePath() const {
    return State == nullptr ? Name : Narrow(CP_UTF8, State->WideDir + State->WideName);
}

bool CanListFolder(const std::string& dir) {
    WIN32_FIND_DATAW data;
    HANDLE handle = FindFirstFileW(SystemPath(Widen(CP_ACP, dir + "*")).c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) {
        // The root of an empty drive holds no entry at all, not even ".".
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    ::FindClose(handle);
    return true;
}

int FindFirst(std::string_view pattern, int attr, TSearchRec& rec) {
    rec.State = std::make_unique<TFindState>();
    TFindState& state = *rec.State;
    state.Dir = ExtractFilePath(pattern);
    state.NamePattern = pattern.substr(state.Dir.size());
    state.WideDir = Widen(CP_ACP, state.Dir);
    // A relative directory reaches as far as the folder it is taken from.
    state.FullDirSize = FullPath(state.WideDir.empty() ? L".\\" : state.WideDir).size();
    state.Request = attr;
    // The system lists every entry and the name pattern is matched here: the system's own
    // wildcards match the short 8.3 names too. The basic information leaves those names out.
    WIN32_FIND_DATAW data;
    state.Handle =
        FindFirstFileExW(SystemPath(state.WideDir + L"*").c_str(), FindExInfoBasic, &data,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (state.Handle == INVALID_HANDLE_VALUE) {
        return ErrnoOf(GetLastError());
    }
    return SkipUnwanted(rec, state, data);
}

int FindNext(TSearchRec& rec) {
    if (rec.State == nullptr || rec.State->Handle == INVALID_HANDLE_VALUE) {
        return ENOENT;
    }
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(rec.State->Handle, &data)) {
        return ErrnoOf(GetLastError());
    }
    return SkipUnwanted(rec, *rec.State, data);
}

void FindClose(TSearchRec& rec) {
    if (rec.State != nullptr) {
        rec.State->Close(); // the current entry stays readable
    }
}
