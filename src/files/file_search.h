#pragma once

#include "files/file_list.h"
#include "platform/find_file.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The recursive file search that lists the HTML files of the sites.
//
// The scan (ScanSites, app/site_scan.h) walks each site directory (ending in the separator)
// once for its two masks, on one list shared by all sites, then reads the list in order:
//
//     constexpr std::array<std::string_view, 2> masks{"*.html", "*.htm"};
//     TFileList files;
//     for (const std::string& dir : siteDirs) {
//         SearchFiles(dir, masks, 25, files);
//     }
//     for (const std::string& path : files) ...   // or files.Count() and files[i]
//
// Walk order: depth first. A directory's own matching files come first, in the enumeration's
// sorted order (see platform/find_file.h), then, for each of its subdirectories in that order,
// the whole subtree of that subdirectory. One walk for several masks lists what one walk per
// mask would, one after another: every file of the first mask in walk order, then those of the
// second. A path that the list already holds (by TSameFileRule: byte-equal on Linux, letter case
// ignored on Windows) is not added again and keeps its first position.
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

// Whether a directory entry with the attribute word attr is a file of one of the kinds.
// A directory or volume label never is.
bool AttrAccepted(FileKinds kinds, int attr);

// Searches the directory part of base and every directory below it, in one walk, for files
// whose names match any of the masks base + pattern, one for each of patterns, appending their
// full paths to list in the order above, or noting them among its left-out entries: a file that
// the program cannot name by its path (see TSearchRec::ExactName and PathFits), or a
// subdirectory whose name is not exact, which cannot be searched. base is a directory ending in
// its separator, or one followed by the beginning of the names (a site written without its final
// separator: "web/site" searches "web/" for "site*.html"); it is not tidied. A pattern names
// files, not folders: one with a separator matches nothing.
// A directory that the walk reached before (same device and inode; on Windows the volume's
// serial and the file index) is not walked again, however it is reached: by a second link or
// junction to it, or a link or bind mount back up the tree. Each of its files is listed once,
// under the path of the first way to it in walk order. Every directory searched is noted in
// list by its identity (TFileList::NoteFolder) with base's directory part.
void SearchFiles(const std::string& base, std::span<const std::string_view> patterns,
                 FileKinds kinds, TFileList& list);

// The search for one mask: its directory part, with its name part as the one pattern.
void SearchFiles(const std::string& mask, FileKinds kinds, TFileList& list);
