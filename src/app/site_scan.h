#pragma once

#include "files/file_list.h"
#include "platform/string_list.h"

#include <array>
#include <string_view>

// The names the scan takes, in the order it searches for them.
inline constexpr std::array<std::string_view, 2> ScanMasks{"*.html", "*.htm"};

// Lists every HTML file below the sites: for each site in order, the "*.html" files of its
// whole tree, then its "*.htm" files not yet listed. A path is listed once, at its first finding.
void ScanSites(const TStringList& siteDirs, TFileList& files);
