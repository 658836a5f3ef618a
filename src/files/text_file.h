#pragma once

#include "platform/exceptions.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Whole-file byte access for the checker's output file. Nothing is converted: the bytes of a
// file and of its text correspond one to one.
//
// The output file is written only while its name leads to the file approved for it at start-up
// (by identity: device and inode, on Windows the volume's serial number and the file's index):
// a link that still leads there is written through, but a page put in its place, or a link to
// one, is never emptied or moved aside.

// The output file's name no longer leads to the file approved for it: another file stands
// there, or a link to another, or nothing. ErrorCode is 0, since the system failed at nothing.
class EFileReplaced : public EInOutError {
public:
    explicit EFileReplaced(const std::string& path);
};

// The path with its extension replaced by ".bak".
std::string BackupName(const std::string& path);

// Moves the file at path to its backup name, replacing an earlier backup only when the move
// succeeds; failures are ignored.
void BackupFile(const std::string& path);

// The whole content of the file at path. Raises EInOutError.
std::string LoadTextFile(const std::string& path);

// The whole content of the checker's report at path, read as carefully as it is written: only
// a regular file, opened without waiting (a FIFO put in its place is not waited on), and only
// the file approved. Raises EFileReplaced when path leads to another file or to none, or
// EInOutError.
std::string LoadReport(const std::string& path, const TFileId& approved);

// Makes the file at path empty, in place and without a backup, as a checker finds its output
// file, provided that path still leads to the file approved: what is opened is compared before
// anything of it is cut. Raises EFileReplaced, or EInOutError.
void EmptyTextFile(const std::string& path, const TFileId& approved);

// Makes the file at path hold exactly text; an existing file of that name goes to the backup
// name, unless it is empty: then the backup stays as it is. The text is first written completely to
// a temporary file beside it, so a failed write leaves the old file and its backup as they were. A
// symbolic link is written through: the link stays, its target gets the text and the backup lies
// beside the target. approved is the file that path must still lead to, or nothing where no file
// may stand there yet (the first save of a new output file); it is compared right before the old
// file is moved aside. Gives the identity of the file that path now leads to, the one that later
// writes approve. Raises EFileReplaced, or EInOutError.
TFileId SaveTextFile(const std::string& path, std::string_view text,
                     const std::optional<TFileId>& approved);

// Writes a file's whole content into the file given, in pieces if it likes.
using TContentWriter = std::function<void(TFile& file)>;

// SaveTextFile with the text written by write, so that a text larger than memory can be saved.
TFileId SaveTextFileFrom(const std::string& path, const TContentWriter& write,
                         const std::optional<TFileId>& approved);
