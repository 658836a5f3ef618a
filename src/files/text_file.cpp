#include "files/text_file.h"

#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/file_names.h"

namespace {

// The way of a folder that lets us write the file but not create one beside it.
void SaveInPlace(const std::string& path, std::string_view text) {
    if (FileExists(path)) {
        BackupFile(path);
    }
    WriteFileBytes(path, text);
}

} // namespace

std::string BackupName(const std::string& path) {
    return ChangeFileExt(path, ".bak");
}

void BackupFile(const std::string& path) {
    // One replacing rename: the older backup goes only when the file has taken its place, so a
    // file that cannot be moved (held open, locked) leaves it as it was.
    try {
        ReplaceFile(path, BackupName(path));
    } catch (const EInOutError&) {
    }
}

std::string LoadTextFile(const std::string& path) {
    return ReadFileBytes(path);
}

void EmptyTextFile(const std::string& path) {
    WriteFileBytes(path, "");
}

void SaveTextFile(const std::string& linkOrPath, std::string_view text) {
    // A link stays a link: its target gets the text, and the backup sits beside the target.
    const std::string path = LinkTarget(linkOrPath);
    std::optional<TFile> temp = TFile::CreateTempBeside(path);
    if (!temp) {
        SaveInPlace(path, text);
        return;
    }
    const std::string tempPath = temp->Path();
    try {
        temp->WriteAll(text);
        temp->Sync();
        temp->Close();
        if (FileExists(path)) {
            BackupFile(path);
        }
        ReplaceFile(tempPath, path);
    } catch (...) {
        temp.reset();
        DeleteFile(tempPath);
        throw;
    }
}
