#pragma once

#include "platform/path_style.h"

#include <string>
#include <string_view>

// The platform's path separator, the one the program writes; a directory path always ends with
// it.
inline constexpr char PathDelim = NativeIsWindows ? '\\' : '/';

// Every character that separates folders where a path is split, as the system itself reads a
// path: on Windows "/" as well as "\". Every rule that splits a path asks these, and nothing
// else, which characters separate.
constexpr std::string_view PathDelims(TPathStyle style = TPathStyle::Native) {
    return ReadsAsWindows(style) ? "\\/" : "/";
}
// The characters that end the directory part of a path: the separators, and on Windows also
// the ":" of a drive ("C:name").
constexpr std::string_view DirDelims(TPathStyle style = TPathStyle::Native) {
    return ReadsAsWindows(style) ? "\\/:" : "/";
}

// Whether c separates folders. A byte, not a character: where the encoding has double-byte
// characters, ask it only of a byte that starts one (see LastDelimiter).
constexpr bool IsPathDelim(char c, TPathStyle style = TPathStyle::Native) {
    return PathDelims(style).find(c) != std::string_view::npos;
}

// Everything up to and including the last of DirDelims; empty when there is none.
std::string ExtractFilePath(std::string_view path, TPathStyle style = TPathStyle::Native);
// Everything after the last of DirDelims.
std::string ExtractFileName(std::string_view path, TPathStyle style = TPathStyle::Native);
// path ending in a separator: as it is when its last character is one of PathDelims or when it
// is empty, else with the separator of style appended ("C:\web\shop" gives "C:\web\shop\").
std::string IncludeTrailingPathDelimiter(std::string_view path,
                                         TPathStyle style = TPathStyle::Native);
// path with its extension (from the last "." of its last component) replaced by extension;
// a name without a dot gets extension appended.
std::string ChangeFileExt(std::string_view path, std::string_view extension,
                          TPathStyle style = TPathStyle::Native);

// path as the system reads it when it opens it, for the rules that look at names: on Windows
// made full and normal by the system (GetFullPathNameA: "/" becomes "\", "." and ".." go, and so
// do the dots and blanks that end a name, so "a.html. ." is "a.html"); path itself when the
// system cannot. On Linux path itself: the system takes every byte as it stands.
std::string FullPath(const std::string& path);

// Where a symbolic link at path finally leads, as a full path, also when that is a file that
// does not exist (yet): the link is read. path itself when it is no link, or when its links go
// round in a circle or cannot be read.
std::string LinkTarget(const std::string& path);

// True when a file, not a directory, of that name exists (links are followed).
bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);
// Renames oldPath to newPath in one step, replacing a file of that name. Raises EInOutError.
void ReplaceFile(const std::string& oldPath, const std::string& newPath);
