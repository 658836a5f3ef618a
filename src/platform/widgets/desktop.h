#pragma once

#include <functional>
#include <string>

// Opens the file with the program that the desktop associates with it, and returns at once.
void ShellOpen(const std::string& path);

// Test seam: hands the file's absolute file: URL to opener instead of the desktop, so that no
// test ever launches anything. An empty opener restores the desktop.
void OverrideShellOpener(std::function<void(const std::string& url)> opener);
