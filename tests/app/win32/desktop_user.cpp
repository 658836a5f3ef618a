// Under Wine, the desktop's own process is started by the first program of the session that
// uses the desktop, and belongs to whatever job that program is in. Started by a checker's
// console, it is a process of the checker's job that never ends, and the check waits for it for
// ever. This program opens no window: it uses the desktop from its start, so that the desktop's
// process starts outside any job and stays while the tests run.
#include "platform/win32/windows_api.h"

namespace {
const HWND Desktop = GetDesktopWindow();
} // namespace
