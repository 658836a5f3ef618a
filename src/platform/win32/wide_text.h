#pragma once

#include "platform/win32/windows_api.h"

#include <string>
#include <string_view>

// Conversions between the system's code pages and UTF-16, the text of the wide functions.

// bytes of the code page in UTF-16; bytes that form no character there come out as the
// system's replacement character.
std::wstring Widen(UINT codePage, std::string_view bytes);
// text in the code page; a character it cannot hold becomes a look-alike or "?".
std::string Narrow(UINT codePage, std::wstring_view text);
// Data bytes in the ANSI code page, the encoding of all the program's text, for the wide
// functions that show it.
inline std::wstring AnsiText(std::string_view bytes) {
    return Widen(CP_ACP, bytes);
}
// text in the ANSI code page, with "?" for each character that has no exact counterpart there
// (never a look-alike: not "e" for "é", not "\" for "¥"); exact tells whether there was none.
std::string Ansi(std::wstring_view text, bool& exact);
