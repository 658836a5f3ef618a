#pragma once

// Only for the Win32 implementation of the window layer and for its tests: the program's
// narrow texts as the wide ones that the system's windows show, and back.

#include <string>
#include <string_view>

// A text of the program for the screen. Its own texts are UTF-8, yet may carry data such as a
// path, whose bytes are in the system's code page: every stretch that is valid UTF-8 is read as
// UTF-8, any other byte as a character of the code page.
std::wstring DisplayText(std::string_view text);
// Data bytes in the system's code page, for the screen.
std::wstring AnsiText(std::string_view bytes);
// UTF-8 of a text from the screen.
std::string Utf8Text(std::wstring_view text);
