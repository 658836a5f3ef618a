#pragma once

#include "files/file_list.h"
#include "platform/find_file.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The recursive file search that lists the HTML files of the sites.
//
// The scan of the main window calls it twice per site directory (ending in the separator) on
// one shared list, then reads the list in order:
//
//     TFileList files;
//     for (const std::string& dir : siteDirs) {
//         SearchFiles(dir + "*.html", 25, files, {});
//         SearchFiles(dir + "*.htm", 25, files, {});
//     }
//     for (const std::string& path : files) ...   // or files.Count() and files[i]
//
// Order: depth first. A directory contributes its own matching files first, in the
// enumeration's sorted order (see platform/find_file.h), then, for each of its subdirectories
// in that order, the whole subtree of that subdirectory. A path that the list already holds
// (by TSameFileRule: byte-equal on Linux, letter case ignored on Windows) is not added again and
// keeps its first position.
// Hidden and system subdirectories are not searched; a directory that cannot be read
// contributes nothing; nothing is reported and nothing is raised of its own.

// The kinds of file the search accepts, as bits of one byte. The scan passes 25, that is
// ReadOnly | Archive | Plain.
struct FileKinds {
    static constexpr std::uint8_t ReadOnly = 1; // attribute bit 0x01
    static constexpr std::uint8_t Hidden = 2;   // attribute bit 0x02
    static constexpr std::uint8_t System = 4;   // attribute bit 0x04
    static constexpr std::uint8_t Archive = 8;  // attribute bit 0x20
    // none of the six bits 0x01..0x20: an ordinary Windows file may carry others, such as
    // 0x80 (normal) alone or 0x2000 (not content indexed)
    static constexpr std::uint8_t Plain = 16;

    constexpr FileKinds(std::uint8_t bits = 0) : Bits(bits) {}
    constexpr bool Has(std::uint8_t kind) const { return (Bits & kind) != 0; }

    std::uint8_t Bits;
};

// Called with the mask of each directory about to be searched, before its files are collected.
using TSearchProgress = std::function<void(const std::string& mask)>;

// A subdirectory found by ListSubdirs: its path, ending in the separator, and its identity.
struct TSubdir {
    std::string Path;
    TFileId Id;
};
using TSubdirList = std::vector<TSubdir>;

// Whether a directory entry with the attribute word attr is a file of one of the kinds.
// A directory or volume label never is.
bool AttrAccepted(FileKinds kinds, int attr);

// Appends to list the accepted files of the mask's directory whose names match the mask's name
// part, in enumeration order, leaving out those the list already holds. A file that the program
// cannot name by its path (see TSearchRec::ExactName and PathFits) goes to list's left-out
// entries instead.
void CollectFiles(const std::string& mask, FileKinds kinds, TFileList& list);

// Appends to dirs the subdirectories of the mask's directory that are marked neither hidden
// nor system, in enumeration order. One whose name is not exact cannot be searched: it goes to
// list's left-out entries instead.
void ListSubdirs(const std::string& mask, TSubdirList& dirs, TFileList& list);

// Searches the mask's directory and every directory below it for files whose names match the
// mask's name part, appending their full paths to list, or noting them among its left-out
// entries. The mask is not tidied: its directory part is everything up to and including its
// last separator (the working folder when there is none).
// A subdirectory that is already on the current descent path (same device and inode, as a
// link or bind mount back up the tree makes it) is not entered again. Every directory searched
// is noted in list by its identity (TFileList::NoteFolder). progress may be empty.
void SearchFiles(const std::string& mask, FileKinds kinds, TFileList& list,
                 const TSearchProgress& progress = {});
