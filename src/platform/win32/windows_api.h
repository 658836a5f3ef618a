#pragma once

// windows.h as the Win32 implementation of the layer includes it: the ANSI ("A") functions,
// without the macros that would rename the layer's own functions of the same names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef DeleteFile
#undef ReplaceFile
