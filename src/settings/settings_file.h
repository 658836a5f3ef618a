#pragma once

#include "platform/string_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Messages for the user, each naming a settings file or a setting that was not used, and why.
using TSettingsProblems = std::vector<std::string>;

// Far beyond any real settings file (100,000 sites make about 2 MB); a larger file is refused
// rather than read into memory whole.
inline constexpr std::uint64_t MaxSettingsFileSize = 8u << 20;

// A settings file as the program reads it, all at once.
//
// A path that names no regular file (missing, a folder, a FIFO, a device) and a file that
// cannot be read hold nothing, as if missing; a FIFO is never waited for. So does a file larger
// than MaxSettingsFileSize. A file that cannot be read or is too large is named in the problems.
// A file that begins with a byte-order mark is Unicode (see MarkedTextAsUtf8). Without one, as
// Notepad reads it, a file that is valid UTF-8 and holds a byte above 0x7F is UTF-8, and any
// other file is in the narrow encoding.
class TSettingsFile {
public:
    TSettingsFile(const std::string& path, TSettingsProblems& problems);

    const TStringList& Lines() const { return FileLines; }
    // Whether path named no regular file.
    bool Missing() const { return NoFile; }
    // Whether the file was read; its lines, if any, are then what it holds.
    bool Read() const { return WasRead; }

    // A value found in the file in the form the program uses, or nothing when it cannot be
    // used: a NUL byte would end the name that the system sees, bytes of a file marked as UTF-8
    // that are no UTF-8 name no character, and a character of a Unicode file that the narrow
    // encoding cannot hold has no name of its own in it. Such a setting is named in the
    // problems, under key.
    std::optional<std::string> Usable(std::string_view key, std::string_view value,
                                      TSettingsProblems& problems) const;

private:
    std::string Path;
    TStringList FileLines;
    bool NoFile = false;
    bool WasRead = false;
    bool Unicode = false;  // the lines are UTF-8, to be put in the narrow encoding value by value
    bool Unmarked = false; // Unicode only because the bytes read as UTF-8
};
