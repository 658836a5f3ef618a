// TTempDir on the ANSI functions, so that names in the code page (such as 表 as 95 5C) reach
// the file system as the program's own code would send them.
#include "support/temp_dir.h"

#include "platform/win32/windows_api.h"

#include <stdexcept>

namespace {

// Tests write relative paths with "/"; the folders are made one by one.
std::string Native(std::string_view relative) {
    std::string path(relative);
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

void MakeDirs(const std::string& root, const std::string& relative) {
    for (std::size_t end = relative.find('\\'); end != std::string::npos;
         end = relative.find('\\', end + 1)) {
        CreateDirectoryA((root + relative.substr(0, end)).c_str(), nullptr);
    }
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = dir + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

} // namespace

TTempDir::TTempDir() {
    char temp[MAX_PATH];
    DWORD size = GetTempPathA(MAX_PATH, temp);
    if (size == 0 || size >= MAX_PATH) {
        throw std::runtime_error("no temporary folder");
    }
    for (unsigned attempt = GetTickCount() ^ GetCurrentProcessId();; ++attempt) {
        std::string path = std::string(temp) + "allcheck-test-" + std::to_string(attempt);
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            Root = path + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
}

TTempDir::~TTempDir() {
    RemoveTree(Root);
}

std::string TTempDir::Write(std::string_view relative, std::string_view bytes) const {
    std::string name = Native(relative);
    MakeDirs(Root, name);
    std::string path = Root + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!ok) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

std::string TTempDir::MakeDir(std::string_view relative) const {
    std::string name = Native(relative) + "\\";
    MakeDirs(Root, name);
    return Root + name;
}

std::string ReadAll(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot read " + path);
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}
