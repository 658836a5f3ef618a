#pragma once

#include <string>

// The full path of the running executable.
std::string ExeName();

// Test seam: makes ExeName() answer path, so that a whole program can be placed in a
// temporary folder. An empty path restores the real answer.
void OverrideExeName(std::string path);
