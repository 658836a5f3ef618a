#pragma once

// Only for the Win32 implementation of the platform layer and for its tests. Include it after
// every other header: the system's headers define macros that would rename the layer's own
// functions and constants.

#include "platform/win32/windows_api.h"

// The layer's functions of these names are meant, not the system's character-set variants.
#undef PostMessage
#undef TextOut

#include "platform/widgets/types.h"

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

inline RECT ToRECT(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}
inline TRect ToTRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
