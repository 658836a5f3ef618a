#pragma once

// Files that nobody may change while a test holds them, root included.

#include <memory>
#include <string>

// A file that nobody may rename or replace while this lives, root included: on Windows another
// program holds it open without sharing, on Linux it is immutable.
class TPinnedFile {
public:
    explicit TPinnedFile(const std::string& path);
    ~TPinnedFile();
    TPinnedFile(const TPinnedFile&) = delete;
    TPinnedFile& operator=(const TPinnedFile&) = delete;

    bool Ok = false;

private:
    struct THold;
    std::unique_ptr<THold> Hold;
};
