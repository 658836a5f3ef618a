#include "platform/find_file.h"

#include "platform/file_names.h"
#include "platform/win32/windows_api.h"

// One enumeration: the system's search handle, the request, and the current entry as the
// system gave it.
struct TFindState {
    ~TFindState() { Close(); }
    void Close() {
        if (Handle != INVALID_HANDLE_VALUE) {
            ::FindClose(Handle);
            Handle = INVALID_HANDLE_VALUE;
        }
    }

    HANDLE Handle = INVALID_HANDLE_VALUE;
    int Request = 0;
    std::string Dir; // the directory part of the pattern
    int AttrWord = 0;
};

namespace {

// Moves to the first entry from data on that the request returns: 0, or the system's error code.
int SkipUnrequested(TSearchRec& rec, TFindState& state, WIN32_FIND_DATAA& data) {
    for (;;) {
        int attr = static_cast<int>(data.dwFileAttributes);
        if (AttrRequested(attr, state.Request)) {
            rec.Name = data.cFileName;
            state.AttrWord = attr;
            return 0;
        }
        if (!FindNextFileA(state.Handle, &data)) {
            return static_cast<int>(GetLastError());
        }
    }
}

// Opens what path leads to (links followed) just to learn its identity.
bool IdOf(const std::string& path, TFileId& id) {
    HANDLE handle = CreateFileA(path.empty() ? "." : path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (known) {
        id = {info.dwVolumeSerialNumber,
              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    }
    return known;
}

} // namespace

TFindSession::TFindSession() : Outer(nullptr) {}

// The system keeps its own enumeration state: a session has nothing to share.
TFindSession::~TFindSession() = default;

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
    if (State == nullptr || !IdOf(State->Dir + Name, id)) {
        return {};
    }
    return id;
}

int FindFirst(std::string_view pattern, int attr, TSearchRec& rec) {
    rec.State = std::make_unique<TFindState>();
    TFindState& state = *rec.State;
    state.Dir = ExtractFilePath(pattern);
    state.Request = attr;
    WIN32_FIND_DATAA data;
    state.Handle = FindFirstFileA(std::string(pattern).c_str(), &data);
    if (state.Handle == INVALID_HANDLE_VALUE) {
        return static_cast<int>(GetLastError());
    }
    return SkipUnrequested(rec, state, data);
}

int FindNext(TSearchRec& rec) {
    if (rec.State == nullptr || rec.State->Handle == INVALID_HANDLE_VALUE) {
        return ERROR_NO_MORE_FILES;
    }
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(rec.State->Handle, &data)) {
        return static_cast<int>(GetLastError());
    }
    return SkipUnrequested(rec, *rec.State, data);
}

void FindClose(TSearchRec& rec) {
    if (rec.State != nullptr) {
        rec.State->Close(); // the current entry stays readable
    }
}

bool GetFileId(const std::string& path, TFileId& id) {
    return IdOf(path, id);
}
