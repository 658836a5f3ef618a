#pragma once

// Only for the Win32 implementation of the platform layer and for tests.
//
// The layer speaks 96-DPI units: a position, size or font height that the program gives is the
// number of pixels it has at 96 DPI. The system's windows are in pixels of their monitor's DPI.
// Every conversion between the two goes through here, with the DPI of the window concerned.

#include "platform/widgets/types.h"
#include "platform/win32/windows_api.h"

inline constexpr UINT DesignDpi = 96;

// Units to pixels and back, each rounded to the nearest; a rectangle's edges are converted one
// by one, so that controls that touch at 96 DPI touch at every DPI.
int ToPixels(int units, UINT dpi);
int ToUnits(int pixels, UINT dpi);
RECT ToPixels(const TRect& units, UINT dpi);
TRect ToUnits(const RECT& pixels, UINT dpi);

// The DPI of the system: that of a system-aware program's every window, and of a
// per-monitor-aware one's until it is placed on a monitor.
UINT SystemDpi();
// The DPI that window is shown at: its monitor's, where the system tells it (Windows 10 1607
// and later), the system's elsewhere.
UINT WindowDpi(HWND window);
// AdjustWindowRectEx with the frame that a window has at dpi; before Windows 10 1607 the
// frame of the system's DPI, the only one that a window has there.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
