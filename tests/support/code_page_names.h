#pragma once

#include <string>

// A name whose characters end in the byte of "\" in code page 932 (表 is 95 5C, ソ is 83 5C),
// as paths carry it: in the ANSI code page on Windows, in UTF-8 on Linux.
#ifdef _WIN32
inline const std::string Hyoushi = "\x95\x5C\x8E\x86 \x83\x5C"; // 表紙 ソ
#else
inline const std::string Hyoushi = "表紙 ソ";
#endif
