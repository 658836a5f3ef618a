#pragma once

#include <optional>
#include <string>

// The full path of the running executable.
std::string ExeName();

// The executable's full path in UTF-8 when the narrow encoding cannot hold it, so that
// ExeName() and the settings files beside it lead nowhere: on Windows a folder or name in
// characters that the code page lacks (한글\allcheck.exe under code page 932). Nothing when
// ExeName() names the executable, as always on Linux and while a test overrides it.
std::optional<std::string> ExeNameOutsideCodePage();

// Test seam: makes ExeName() answer path, so that a whole program can be placed in a
// temporary folder. An empty path restores the real answer.
void OverrideExeName(std::string path);
