#include "platform/file_io.h"

#include "platform/exceptions.h"
#include "platform/file_names.h"
#include "platform/win32/handle_id.h"
#include "platform/win32/windows_api.h"

#include <algorithm>
#include <utility>

namespace {

[[noreturn]] void Fail(TFileAction action, const std::string& path, DWORD code = GetLastError()) {
    throw EInOutError::FromCode(static_cast<int>(code), action, path);
}

HANDLE ToHandle(std::intptr_t descriptor) {
    return reinterpret_cast<HANDLE>(descriptor);
}

std::intptr_t FromHandle(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

// ReadFile and WriteFile move at most this much at once.
constexpr std::uint64_t MaxChunk = 1u << 30;

// The attribute bits that a file saved in place of another takes over from it.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Cuts off a file opened for writing, unless it has other names too.
void EmptyInPlace(HANDLE handle, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(handle, &info) && info.nNumberOfLinks > 1) {
        Fail(TFileAction::WriteInPlace, path, ERROR_TOO_MANY_LINKS);
    }
    if (!SetEndOfFile(handle)) {
        Fail(TFileAction::Create, path);
    }
}

} // namespace

TFile TFile::OpenRead(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(TFileAction::Open, path);
    }
    return TFile(FromHandle(handle), path);
}

std::optional<TFile> TFile::OpenRegular(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    TFile file = OpenRead(path);
    // A device ("NUL", "CON") or a pipe has attributes too; only a file on a disk is regular.
    if (GetFileType(ToHandle(file.Descriptor)) != FILE_TYPE_DISK) {
        return std::nullopt;
    }
    return file;
}

TFile TFile::Create(const std::string& path) {
    // OPEN_ALWAYS and then cutting the file off, since CREATE_ALWAYS refuses a hidden file.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(TFileAction::Create, path);
    }
    TFile file(FromHandle(handle), path);
    EmptyInPlace(handle, path);
    return file;
}

std::optional<TFile> TFile::Rewrite(const std::string& path, const TFileId& id) {
    // OPEN_EXISTING: a name that leads nowhere makes nothing.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (FileIdAt(path) != id) {
            return std::nullopt;
        }
        Fail(TFileAction::Open, path, code);
    }
    TFile file(FromHandle(handle), path);
    if (TFileId opened; !GetHandleId(handle, opened) || opened != id) {
        return std::nullopt;
    }
    EmptyInPlace(handle, path);
    return file;
}

std::optional<TFile> TFile::CreateTempBeside(const std::string& path) {
    std::string dir = ExtractFilePath(path);
    char name[MAX_PATH];
    if (GetTempFileNameA(dir.empty() ? "." : dir.c_str(), "alc", 0, name) == 0) {
        return std::nullopt;
    }
    // GetTempFileNameA made the file; it is opened again, to be written.
    HANDLE handle = CreateFileA(name, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DeleteFileA(name);
        return std::nullopt;
    }
    DWORD existing = GetFileAttributesA(path.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & KeptAttributes) != 0) {
        // The open handle may still write: the attributes are checked when a file is opened.
        SetFileAttributesA(name, existing & KeptAttributes);
    }
    return TFile(FromHandle(handle), name);
}

std::optional<TFile> TFile::CreateNew(const std::string& path) {
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
            return std::nullopt;
        }
        Fail(TFileAction::Create, path, code);
    }
    return TFile(FromHandle(handle), path);
}

std::optional<TFile> TFile::OpenUpdate(const std::string& path, const TFileId& id) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    TFile file(FromHandle(handle), path);
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        info.nNumberOfLinks != 1 || file.Id() != id) {
        return std::nullopt;
    }
    return file;
}

TFileId TFile::Id() const {
    TFileId id;
    if (!GetHandleId(ToHandle(Descriptor), id)) {
        Fail(TFileAction::Open, FilePath);
    }
    return id;
}

void TFile::Release(std::intptr_t descriptor) noexcept {
    CloseHandle(ToHandle(descriptor));
}

std::uint64_t TFile::Size() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(ToHandle(Descriptor), &size)) {
        Fail(TFileAction::GetSize, FilePath);
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<TFileStamp> StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    // A link's own attributes are not its target's.
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return std::nullopt;
    }
    const FILETIME& written = data.ftLastWriteTime;
    return TFileStamp{
        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
        static_cast<std::int64_t>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) |
                                  written.dwLowDateTime)};
}

std::int64_t TFile::ModifiedTime() const {
    FILETIME written;
    if (!GetFileTime(ToHandle(Descriptor), nullptr, nullptr, &written)) {
        Fail(TFileAction::GetSize, FilePath);
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) |
                                     written.dwLowDateTime);
}

void TFile::Seek(std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(ToHandle(Descriptor), to, nullptr, FILE_BEGIN)) {
        Fail(TFileAction::Read, FilePath);
    }
}

void TFile::Truncate(std::uint64_t size) {
    Seek(size);
    if (!SetEndOfFile(ToHandle(Descriptor))) {
        Fail(TFileAction::Write, FilePath);
    }
}

std::string TFile::ReadExactly(std::uint64_t count) {
    std::string bytes(count, '\0');
    std::uint64_t done = 0;
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min(count - done, MaxChunk));
        DWORD read = 0;
        if (!ReadFile(ToHandle(Descriptor), bytes.data() + done, chunk, &read, nullptr)) {
            Fail(TFileAction::Read, FilePath);
        }
        if (read == 0) {
            Fail(TFileAction::Read, FilePath, ERROR_HANDLE_EOF); // it became shorter meanwhile
        }
        done += read;
    }
    return bytes;
}

void TFile::WriteAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::uint64_t>(bytes.size() - done, MaxChunk));
        DWORD written = 0;
        if (!WriteFile(ToHandle(Descriptor), bytes.data() + done, chunk, &written, nullptr)) {
            Fail(TFileAction::Write, FilePath);
        }
        if (written == 0) {
            Fail(TFileAction::Write, FilePath, ERROR_WRITE_FAULT);
        }
        done += written;
    }
}

void TFile::Sync() {
    if (!FlushFileBuffers(ToHandle(Descriptor))) {
        Fail(TFileAction::Write, FilePath);
    }
}

void TFile::Close() {
    std::intptr_t descriptor = std::exchange(Descriptor, -1);
    if (descriptor != -1 && !CloseHandle(ToHandle(descriptor))) {
        Fail(TFileAction::Close, FilePath);
    }
}
