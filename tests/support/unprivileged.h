#pragma once

#include <functional>
#include <string>
#include <vector>

// Linux only. Runs work in a child process that holds no privileges (root drops to "nobody", so
// that permission bits count), and returns what it gave, one entry a line. A failure that escapes
// work comes back as one entry "!" + its text.
std::vector<std::string> Unprivileged(const std::function<std::vector<std::string>()>& work);
