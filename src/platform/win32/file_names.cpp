#include "platform/file_names.h"

#include "platform/exceptions.h"
#include "platform/win32/final_path.h"
#include "platform/win32/windows_api.h"

std::string LinkTarget(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    std::string target = FinalPath(path);
    return target.empty() ? path : target;
}

bool FileExists(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DeleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

void ReplaceFile(const std::string& oldPath, const std::string& newPath) {
    if (!MoveFileExA(oldPath.c_str(), newPath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw EInOutError::FromCode(static_cast<int>(GetLastError()), TFileAction::RenameTo,
                                    newPath);
    }
}
