#pragma once

#include <functional>
#include <string>

// Opens the file with the program that the desktop associates with it, and returns at once.
void ShellOpen(const std::string& path);

// Test seam: hands opener what the desktop would be given (the file's absolute file: URL on
// Linux, its path on Windows), so that no test ever launches anything. An empty opener
// restores the desktop.
void OverrideShellOpener(std::function<void(const std::string& item)> opener);
