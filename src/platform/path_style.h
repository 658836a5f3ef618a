#pragma once

// How the lexical path helpers read a path: which characters separate its folders and how its
// bytes form characters. Each helper reads paths in the system's own style unless told another,
// so that the Windows rules can be tried on any machine.
enum class TPathStyle {
    // The system's: POSIX on Linux; on Windows the Windows rules in the system's code page.
    Native,
    // "/" separates folders; every byte is a character; ":" is a character like any other.
    Posix,
    // "\" and "/" separate folders, and ":" ends a drive's part ("C:name"). The bytes are code
    // page 932, whose double-byte characters may end in the byte of "\" (表 is 95 5C).
    Windows,
};

#ifdef _WIN32
inline constexpr bool NativeIsWindows = true;
#else
inline constexpr bool NativeIsWindows = false;
#endif

constexpr bool ReadsAsWindows(TPathStyle style) {
    return style == TPathStyle::Windows || (style == TPathStyle::Native && NativeIsWindows);
}
