#pragma once

#include <string>
#include <string_view>

// Whole-file byte access for the checker's output file. Nothing is converted: the bytes of a
// file and of its text correspond one to one.

// The path with its extension replaced by ".bak".
std::string BackupName(const std::string& path);

// Moves the file at path to its backup name, replacing an earlier backup only when the move
// succeeds; failures are ignored.
void BackupFile(const std::string& path);

// The whole content of the file at path. Raises EInOutError.
std::string LoadTextFile(const std::string& path);

// Makes the file at path empty, in place and without a backup, as a checker finds its output
// file. Raises EInOutError.
void EmptyTextFile(const std::string& path);

// Makes the file at path hold exactly text; an existing file of that name goes to the backup
// name. The text is first written completely to a temporary file beside it, so a failed write
// leaves the old file and its backup as they were. A symbolic link is written through: the
// link stays, its target gets the text and the backup lies beside the target. Raises
// EInOutError.
void SaveTextFile(const std::string& path, std::string_view text);
