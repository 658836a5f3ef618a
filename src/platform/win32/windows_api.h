#pragma once

// The one include of windows.h, for the Win32 implementation of the platform layer and for its
// tests. The build defines NOMINMAX, WIN32_LEAN_AND_MEAN and the oldest Windows it runs on.
//
// The system's headers name as macros some functions and constants that the layer declares
// itself, as functions or typed constants of the same name and value; once the macros are gone,
// this header and the layer's headers may come in any order.
#include <windows.h>

// Functions of the layer, not the system's character-set variants.
#undef DeleteFile
#undef ReplaceFile
#undef PostMessage
#undef TextOut
// Constants of the layer (list_box.h, form.h, check_box_drawing.h).
#undef LBS_OWNERDRAWFIXED
#undef LBS_OWNERDRAWVARIABLE
#undef LB_SETITEMHEIGHT
#undef LB_ERR
#undef WM_USER
#undef DFC_BUTTON
#undef DFCS_BUTTONCHECK
#undef DFCS_BUTTON3STATE
#undef DFCS_CHECKED
#undef OBM_CHECKBOXES
