#pragma once

#include <string>

// The full path of what path leads to, links and junctions followed, as the system names it
// ("C:\dir\name", no "\\?\" in front); empty when it leads nowhere or cannot be opened.
std::string FinalPath(const std::string& path);
