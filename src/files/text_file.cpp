#include "files/text_file.h"

#include "platform/file_io.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"

namespace {

// Raises EFileReplaced, naming the output file as it was given, unless path leads to approved.
void CheckApproved(const std::string& path, const std::optional<TFileId>& approved,
                   const std::string& given) {
    if (FileIdAt(path) != approved) {
        throw EFileReplaced(given);
    }
}

// Whether the file at path holds anything worth a backup: an empty file (a checker that left
// nothing, a start-up's reset with no run after it) never replaces the backup that there is.
bool HoldsSomething(const std::string& path) {
    try {
        std::optional<TFile> file = TFile::OpenRegular(path);
        return file && file->Size() > 0;
    } catch (const EInOutError&) {
        return FileExists(path);
    }
}

// The way of a folder that lets us write the file but not create one beside it.
TFileId SaveInPlace(const std::string& path, const TContentWriter& write,
                    const std::optional<TFileId>& approved, const std::string& given) {
    CheckApproved(path, approved, given);
    if (HoldsSomething(path)) {
        BackupFile(path);
    }
    TFile file = TFile::Create(path);
    write(file);
    const TFileId written = file.Id();
    file.Close();
    return written;
}

} // namespace

EFileReplaced::EFileReplaced(const std::string& path)
    : EInOutError(0, NarrowText("出力ﾌｧｲﾙが置き換えられたか消されたので書きません: ") + path) {}

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

std::string LoadReport(const std::string& path, const TFileId& approved) {
    std::optional<TFile> file = TFile::OpenRegular(path);
    if (!file || file->Id() != approved) {
        throw EFileReplaced(path);
    }
    std::string bytes = file->ReadExactly(file->Size());
    file->Close();
    return bytes;
}

void EmptyTextFile(const std::string& path, const TFileId& approved) {
    std::optional<TFile> file = TFile::Rewrite(path, approved);
    if (!file) {
        throw EFileReplaced(path);
    }
    file->Close();
}

TFileId SaveTextFile(const std::string& path, std::string_view text,
                     const std::optional<TFileId>& approved) {
    return SaveTextFileFrom(
        path, [text](TFile& file) { file.WriteAll(text); }, approved);
}

TFileId SaveTextFileFrom(const std::string& linkOrPath, const TContentWriter& write,
                         const std::optional<TFileId>& approved) {
    // A link stays a link: its target gets the text, and the backup sits beside the target.
    const std::string path = LinkTarget(linkOrPath);
    std::optional<TFile> temp = TFile::CreateTempBeside(path);
    if (!temp) {
        return SaveInPlace(path, write, approved, linkOrPath);
    }
    const std::string tempPath = temp->Path();
    try {
        write(*temp);
        temp->Sync();
        const TFileId written = temp->Id();
        temp->Close();
        CheckApproved(path, approved, linkOrPath);
        if (HoldsSomething(path)) {
            BackupFile(path);
        }
        ReplaceFile(tempPath, path);
        return written;
    } catch (...) {
        temp.reset();
        DeleteFile(tempPath);
        throw;
    }
}
