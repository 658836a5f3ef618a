#include "support/pinned_file.h"

#include "platform/win32/windows_api.h"

struct TPinnedFile::THold {
    explicit THold(const std::string& path)
        : Held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~THold() {
        if (Held != INVALID_HANDLE_VALUE) {
            CloseHandle(Held);
        }
    }
    THold(const THold&) = delete;
    THold& operator=(const THold&) = delete;

    HANDLE Held;
};

TPinnedFile::TPinnedFile(const std::string& path) : Hold(std::make_unique<THold>(path)) {
    Ok = Hold->Held != INVALID_HANDLE_VALUE;
}

TPinnedFile::~TPinnedFile() = default;
