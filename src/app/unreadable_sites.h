#pragma once

#include "platform/string_list.h"

#include <string>
#include <vector>

// Site folders that the scan could not search: missing, no folder, or not to be read. A site
// that is mistyped in the settings would otherwise just list nothing.

// The sites whose folders cannot be listed, in the order of siteDirs.
std::vector<std::string> UnreadableSites(const TStringList& siteDirs);

// What the window says of them after the scan: their number and why, then the first ten of
// them, one a line, and how many more there are.
std::string UnreadableSitesNotice(const std::vector<std::string>& sites);
