#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/widgets/desktop.h"
#include "platform/win32/windows_api.h"

#include <shobjidl.h>

// How the task bar button shows a window's progress in state: none, going on, or paused, in
// the paused colour.
TBPFLAG TaskBarState(TProgressState state);
