#pragma once

#include "platform/win32/windows_api.h"

// The errno value that stands for a system error code, so that the layer's functions that
// promise errno values (find_file.h) say the same on both systems: ENOENT for a name or folder
// that is not there and for the end of a listing, EACCES for access refused, and so on; EIO for
// a code without a counterpart.
int ErrnoOf(DWORD code);
