#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// Which file or folder a path names, by the platform's rules: links followed, another spelling
// of the same place counted as the same.

enum class TFileType { Missing, Regular, Other };

// Identifies a file or directory on this machine, links followed: its device and inode, on
// Windows the volume's serial number and the file's index.
struct TFileId {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    bool operator==(const TFileId&) const = default;
};

// The id of the directory or file at path, links followed; false when it cannot be reached.
bool GetFileId(const std::string& path, TFileId& id);
// The same as a value: nothing when path cannot be reached.
inline std::optional<TFileId> FileIdAt(const std::string& path) {
    TFileId id;
    return GetFileId(path, id) ? std::optional(id) : std::nullopt;
}

// What path leads to, links followed: nothing (a dangling link included), a regular file, or
// anything else (a folder, FIFO, socket, device). On Windows a name that the system takes for a
// device ("CON", "nul.txt" in any folder, "\\.\NUL") is told by its name alone, before anything
// is opened.
TFileType FileTypeOf(const std::string& path);

// Whether folder is outer or lies anywhere below it. Both are taken as full paths with their
// links followed; an empty path is the working folder, and a part that does not exist yet
// counts as written.
bool IsWithinFolder(const std::string& folder, const std::string& outer);

// The identity of the file that a path leads to (GetFileId: device and inode; on Windows the
// volume's serial number and the file's index), made once to be compared with many paths. On
// Windows another path is opened to learn its identity only when its size and last write time,
// which every name of one file shows alike, agree with this file's: a look at the attributes
// costs a small part of an open.
class TFileIdentity {
public:
    explicit TFileIdentity(const std::string& path);
    // Whether the path leads to a file at all; nothing is the same file as nothing.
    bool Known() const { return IsKnown; }
    // Whether other leads to this file, however it is spelled or linked.
    bool SameFile(const std::string& other) const;

private:
    bool IsKnown = false;
    TFileId Id;
    // What the cheap look tells of the file: on Windows its size and last write time; nothing
    // where that look would see a link rather than the file, or the identity costs no more.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> Look;
};
