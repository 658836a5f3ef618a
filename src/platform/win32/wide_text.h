#pragma once

#include "platform/win32/windows_api.h"

#include <optional>
#include <string>
#include <string_view>

// Conversions between the system's code pages and UTF-16, the text of the wide functions.

// bytes of the code page in UTF-16; bytes that form no character there come out as the
// system's replacement character.
std::wstring Widen(UINT codePage, std::string_view bytes);
// text in the code page; a character it cannot hold becomes its default character.
std::string Narrow(UINT codePage, std::wstring_view text);
// text in the ANSI code page, character for character; nothing when a character has no exact
// counterpart there, since a look-alike ("e" for "é", "\" for "¥") or "?" would name
// something else.
std::optional<std::string> AnsiExactly(std::wstring_view text);
