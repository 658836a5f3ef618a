#pragma once

#include "files/file_list.h"
#include "platform/file_identity.h"
#include "platform/string_list.h"

#include <optional>
#include <string>
#include <vector>

// The output file is emptied at start-up and overwritten by every run, with its old content
// moved to the backup name. That must never befall a file that serves something else.
//
// Why outputFile may not be used, as a message naming the rule and the path, or nothing when it
// may. Asked once the scan has listed the pages, before the output file is touched. The rules
// look at the file the system would open: on Windows the path is first made full and normal,
// "/" a separator and the dots and blanks that end a name dropped. Refused are, in this order:
// an existing file that is no regular file once links are followed (a folder, FIFO, device; on
// Windows a device's name in any folder, told without opening it); the same file as one of
// ownFiles (the settings files, the executable) or as one of the pages the scan listed, by
// identity, however either is spelled or linked; and a file with a name the scan would take
// (*.html, *.htm, any letter case) in a folder the scan searches, whether by its own name or by
// where its link leads (a link that leads nowhere is read), which catches a page that does not
// exist yet. That folder is a site's or one below it by name, or one that the scan walked by
// identity, however it is reached (a link to it, a second mount). A link to a regular file
// elsewhere is fine: it is written through.
std::optional<std::string> OutputFileRefusal(const std::string& outputFile,
                                             const TStringList& siteDirs, const TFileList& pages,
                                             const std::vector<std::string>& ownFiles);

// Whether the file now at outputFile, which has taken the name of the file approved at start-up
// during a run (a checker that saves by renaming a new file over it, or makes a new one after
// moving it away), may become the output file: its identity when it passes, at this moment,
// every rule of OutputFileRefusal, is a regular file with no other name, named directly (no
// link of its own) and in the folder that was approved, by that folder's identity.
std::optional<TFileId> ReplacementApproval(const std::string& outputFile, const TFileId& folder,
                                           const TStringList& siteDirs, const TFileList& pages,
                                           const std::vector<std::string>& ownFiles);
