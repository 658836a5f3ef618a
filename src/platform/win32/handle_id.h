#pragma once

#include "platform/file_identity.h"
#include "platform/win32/windows_api.h"

// The identity of an open file or folder: its volume's serial number and its index there.
// False when the system cannot tell (a device, a pipe).
bool GetHandleId(HANDLE handle, TFileId& id);
