#pragma once

// The one include of windows.h, for the Win32 implementation of the platform layer and for its
// tests. The build defines NOMINMAX, WIN32_LEAN_AND_MEAN and the oldest Windows it runs on.
//
// The system's headers name as macros, for their character-set variants, some functions that
// the layer declares itself; once the macros are gone, this header and the layer's headers may
// come in any order.
#include <windows.h>

#undef DeleteFile  // file_names.h
#undef ReplaceFile // file_names.h
#undef TextOut     // TCanvas::TextOut
