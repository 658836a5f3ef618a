// TTempDir on the ANSI functions, so that names in the code page (such as 表 as 95 5C) reach
// the file system as the program's own code would send them.
#include "support/temp_dir.h"

#include "platform/win32/wide_text.h"
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

// By the wide functions and the \\?\ prefix, so that whatever a test made goes: names the code
// page cannot hold, and names like devices (nul.htm) that the plain functions open as devices.
void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = dir + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
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
    RemoveTree(L"\\\\?\\" + AnsiText(Root));
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
