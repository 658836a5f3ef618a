#include "support/pinned_file.h"

#include "support/posix/immutable.h"

struct TPinnedFile::THold {
    explicit THold(const std::string& path) : Locked(path) {}
    Immutable Locked;
};

TPinnedFile::TPinnedFile(const std::string& path) : Hold(std::make_unique<THold>(path)) {
    Ok = Hold->Locked.Ok;
}

TPinnedFile::~TPinnedFile() = default;
