#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/win32/windows_api.h"

// Ends TApplication::Run once the message under way has been handled; nothing when it is not
// running.
void EndRun();

// Hands a message from the queue to its window, through the dialog navigation of the window
// that it belongs to (Tab, the buttons' Alt accelerators, Escape).
void DeliverMessage(MSG& message);

// An assistive tool's action on a control, posted to the control's window with the action's
// argument in wParam: the user's input by other means, so it waits with the rest of that input
// while a command runs (TApplication::WaitForProcessEnd).
inline constexpr UINT WM_ACCESSIBLEACTION = WM_APP + 1;
