#pragma once

#include "platform/file_identity.h"
#include "platform/path_style.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Directory enumeration with the platform runtime's FindFirst / FindNext / FindClose
// semantics, as the recursive file search relies on them.
//
//     TSearchRec rec;
//     for (int found = FindFirst(dir + "*.html", faAnyFile, rec); found == 0;
//          found = FindNext(rec)) {
//         ... rec.Name, rec.Attr() ...
//     }
//     FindClose(rec);
//
// The pattern is a directory part (everything up to and including the last separator, empty for
// the working folder) and a name pattern.
//
// Both systems list every entry of the directory and match its name here, by one rule
// (MatchesMask): ASCII letters match in either case, other bytes only themselves; "*" is any
// run of characters, "?" exactly one character; "*.*" matches every name, with or without a
// dot, "." and ".." included. A character is a byte on Linux and, on Windows, a character of
// the ANSI code page, one byte or two. On Windows only the entry's own name counts, not the
// short 8.3 name that the system may keep beside it, which the system's own wildcards also match
// ("INDEX~1.HTM" would bring "index.html~" to "*.htm"). A name that the code page cannot hold
// is matched as Name shows it (see ExactName).
// An entry that carries faHidden, faSysFile, faVolumeID or faDirectory is returned only when
// the attribute request holds every one of those bits that it carries; other entries are
// always returned.
//
// On Windows entries come in the file system's own order (by name, letter case ignored, on
// NTFS), and each carries the system's attribute word as it stands, bits beyond the six below
// included. Names come back in the ANSI code page.
//
// On Linux entries come sorted by name: first by the name with ASCII letters folded to upper
// case, then by plain byte order. Each entry carries the attribute word below:
//   faDirectory  the entry, after following a symbolic link, is a directory;
//   faHidden     the name begins with "." ("." and ".." excepted);
//   faReadOnly   a regular file or directory whose owner write bit is clear;
//   faSysFile    anything else: FIFO, socket, device, a link that leads nowhere, an entry
//                that is gone;
//   faArchive, faVolumeID  never.
// When an entry cannot be looked at (its folder may be read but not searched), the listing's
// word for its kind stands, without faReadOnly; when even that is missing, it is faSysFile.
// FindFirst reads the whole directory; its descriptor stays open until FindClose, for the looks
// at single entries.

inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

// The implementation's own state of one enumeration and of its current entry.
struct TFindState;

// One enumeration and its current entry. The attribute word may be learned lazily: on Linux the
// listing itself tells the name, whether the entry is a directory and whether it is a plain
// file; only the read-only bit (the mode), links (which must be followed) and the id need a look
// at the entry itself, which is taken the first time they are asked for, once per entry.
class TSearchRec {
public:
    TSearchRec();
    ~TSearchRec();
    TSearchRec(TSearchRec&&) noexcept;
    TSearchRec& operator=(TSearchRec&&) noexcept;

    std::string Name; // without directory

    // The attribute word.
    int Attr() const;
    // Whether the attribute word has any of bits; (Attr() & bits) != 0, but without a look at
    // the entry when the listing already tells.
    bool HasAttr(int bits) const;
    // What the entry leads to (links followed); zero for anything but a reachable file or
    // directory.
    TFileId Id() const;

    // Whether Name is the entry's own name. On Windows a name with a character that the code
    // page cannot hold has none there: Name then holds it with "?" for that character, which
    // may be the name of another entry or of none. Always true on Linux.
    bool ExactName() const;
    // Whether the system takes the entry's full path (the pattern's directory part and Name) as
    // it stands: on Windows a path of MAX_PATH (260) characters or more only where long paths
    // are enabled for the program, and never a name that it keeps for a device ("con.html",
    // "NUL.htm", "COM1.html"), which opens the device in any folder. The enumeration itself
    // reaches folders of any length and lists such names. Always true on Linux.
    bool PathFits() const;
    // The entry's full path with its own name, for the screen: in UTF-8 on Windows, the path's
    // own bytes on Linux.
    std::string UnicodePath() const;

private:
    friend int FindFirst(std::string_view pattern, int attr, TSearchRec& rec);
    friend int FindNext(TSearchRec& rec);
    friend void FindClose(TSearchRec& rec);

    std::unique_ptr<TFindState> State;
};

// Starts an enumeration of the directory named by pattern's directory part and moves to the
// first entry that matches the name pattern and the attribute request. 0: an entry was found
// and rec holds it; otherwise an errno value, on both systems: ENOENT when nothing matched or
// the folder is missing, others (EACCES, ENOTDIR, ...) when it cannot be listed. Call FindClose
// afterwards in either case.
int FindFirst(std::string_view pattern, int attr, TSearchRec& rec);
// Moves to the next entry; 0 when there is one, otherwise an errno value: ENOENT at the end.
int FindNext(TSearchRec& rec);
// Ends the enumeration; rec may be used for another FindFirst.
void FindClose(TSearchRec& rec);

// Whether the folder dir (ending in a separator; empty for the working folder) can be listed:
// false when it is missing, is no folder, or may not be read. An empty folder can.
bool CanListFolder(const std::string& dir);

// Whether an entry with the attribute word attr is returned for the attribute request.
bool AttrRequested(int attr, int request);

// Whether name matches the name pattern by the rule above, its characters read as style reads
// them.
bool MatchesMask(std::string_view name, std::string_view pattern,
                 TPathStyle style = TPathStyle::Native);

// The sort order of the enumeration: true when a comes before b.
bool NameBefore(std::string_view a, std::string_view b);
