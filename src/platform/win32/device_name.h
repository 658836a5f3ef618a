#pragma once

#include <string_view>

// Whether the system takes a file name for one of its devices, in every folder and whatever
// extension follows: "CON", "nul.txt", "Lpt1.log", "CONIN$.html". What comes before the first
// dot counts, blanks at its end ignored, letter case too.
bool IsDeviceName(std::string_view name);
