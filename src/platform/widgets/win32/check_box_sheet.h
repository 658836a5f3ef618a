#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/widgets/check_box_drawing.h"

// The system's check box sheet (OBM_CHECKBOXES) holds the looks of a check box in 4 columns and
// 3 rows: the size of one of them in a sheet of the given size, each division truncating.
TCheckBoxSize CheckBoxOfSheet(int sheetWidth, int sheetHeight);
