#pragma once

#include "platform/widgets/canvas.h"
#include "platform/widgets/types.h"

#include <optional>

// The system's check box pictures and the drawing of one check box.

// The picture sheet that holds the system's check box looks, 4 wide and 3 high.
inline constexpr int OBM_CHECKBOXES = 32759;

struct TBitmapSize {
    int Width = 0;
    int Height = 0;
};

// The size of the OBM_CHECKBOXES sheet in the desktop's current style. Needs the application
// object; raises Exception before it exists.
TBitmapSize CheckBoxesBitmapSize();

// Test seam: makes CheckBoxesBitmapSize() answer size instead of measuring the style. An empty
// size restores the real answer.
void OverrideCheckBoxesBitmapSize(std::optional<TBitmapSize> size);

// Frame-control type and states.
inline constexpr unsigned DFC_BUTTON = 4;
inline constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
inline constexpr unsigned DFCS_BUTTON3STATE = 0x0008;
inline constexpr unsigned DFCS_CHECKED = 0x0400;

// Draws a check box filling rect on a painting canvas: DFCS_BUTTONCHECK is the empty box,
// with DFCS_CHECKED the checked box, with DFCS_CHECKED | DFCS_BUTTON3STATE the third state.
// Returns false, drawing nothing, for any other type or state.
bool DrawFrameControl(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state);
