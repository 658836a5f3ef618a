#pragma once

#include "platform/path_style.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The platform's narrow encoding, the one of all the program's text: paths, settings values,
// the combined report and everything the window shows are bytes in it. UTF-8 on Linux; on
// Windows the ANSI code page (932, Shift-JIS, on the users' machines), where the second byte of
// a double-byte character may equal "\" (表 is 95 5C).

// The program's own text, written in UTF-8 in the sources, in the narrow encoding, so that it
// can stand beside data such as a path in one string: unchanged on Linux. This is the one place
// where the program's texts are converted.
std::string NarrowText(std::string_view utf8);

// Whether c starts a double-byte character of the encoding that style reads paths in. The
// system's own: on Windows its ANSI code page; UTF-8 on Linux, where no byte of a character
// can be taken for "/".
bool IsLeadByte(char c, TPathStyle style = TPathStyle::Native);
bool IsSystemLeadByte(char c);

// The position of the last character of text that is one of chars (each a single byte), or npos.
// Only whole characters count: where the encoding has double-byte characters, a second byte
// that equals one of chars is not taken for it.
std::size_t LastDelimiter(std::string_view chars, std::string_view text,
                          TPathStyle style = TPathStyle::Native);

// text without its final character; "" stays "".
std::string_view DropLastChar(std::string_view text, TPathStyle style = TPathStyle::Native);

// The text of a file that begins with a byte-order mark, in UTF-8 without the mark; nothing
// for text without one. UTF-8 stays as it is, valid or not; UTF-16 of either byte order is
// converted as Windows converts it: a surrogate without its partner becomes U+FFFD, and a last
// odd byte is dropped.
std::optional<std::string> MarkedTextAsUtf8(std::string_view bytes);

// Whether bytes are UTF-8 by the standard's rule: no overlong form, no surrogate, nothing
// beyond U+10FFFF, no character cut short.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 text in the narrow encoding, character for character: as it stands on Linux; on Windows
// in the ANSI code page, and nothing when a character has no exact counterpart there.
std::optional<std::string> NarrowFromUtf8(std::string_view utf8);
