#pragma once

#include "files/file_list.h"
#include "platform/string_list.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The names the scan takes, in the order it searches for them.
inline constexpr std::array<std::string_view, 2> ScanMasks{"*.html", "*.htm"};

// Lists every HTML file below the sites: for each site in order, the "*.html" files of its
// whole tree, then its "*.htm" files not yet listed, from one walk of the tree. A path is listed
// once, at its first finding.
void ScanSites(const TStringList& siteDirs, TFileList& files);

// What the window says after a scan that left entries out (see TFileList::LeftOut): a message
// with their number and why, then the first ten of them and how many more there are, as lines
// of UTF-8.
struct TLeftOutNotice {
    std::string Message;
    std::vector<std::string> Lines;
};
TLeftOutNotice LeftOutNotice(const std::vector<std::string>& leftOut);
