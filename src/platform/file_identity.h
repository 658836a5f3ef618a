#pragma once

#include <string>

// Which file or folder a path names, by the platform's rules: links followed, another spelling
// of the same place counted as the same.

enum class TFileType { Missing, Regular, Other };

// What path leads to, links followed: nothing (a dangling link included), a regular file, or
// anything else (a folder, FIFO, socket, device).
TFileType FileTypeOf(const std::string& path);

// Whether both paths lead to one existing file, however each is spelled (links, hard links,
// "..").
bool SameFile(const std::string& a, const std::string& b);

// Whether folder is outer or lies anywhere below it. Both are taken as full paths with their
// links followed; an empty path is the working folder, and a part that does not exist yet
// counts as written.
bool IsWithinFolder(const std::string& folder, const std::string& outer);
