#pragma once

#include <string>
#include <string_view>

// A fresh folder for one test, removed with everything in it afterwards. Path() ends with the
// separator; relative paths are written with "/" on every platform.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return Root; }
    // Path() + relative, after creating the folders it needs.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    std::string MakeDir(std::string_view relative) const;

private:
    std::string Root;
};

std::string ReadAll(const std::string& path);
