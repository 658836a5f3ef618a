#pragma once

#include "platform/string_list.h"

#include <optional>
#include <string>
#include <vector>

// The output file is emptied at start-up and overwritten by every run, with its old content
// moved to the backup name. That must never befall a file that serves something else.
//
// Why outputFile may not be used, as a message naming the rule and the path, or nothing when it
// may. Refused are: the same file as one of ownFiles (the settings files, the executable),
// however spelled; a file with a name the scan would take (*.html, *.htm, any letter case) in
// a folder the scan searches, whether by its own name or by where its link leads; and an
// existing file that is no regular file once links are followed (a folder, FIFO, device). A
// link to a regular file elsewhere is fine: it is written through.
std::optional<std::string> OutputFileRefusal(const std::string& outputFile,
                                             const TStringList& siteDirs,
                                             const std::vector<std::string>& ownFiles);
