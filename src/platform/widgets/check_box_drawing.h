#pragma once

#include "platform/widgets/canvas.h"
#include "platform/widgets/types.h"

#include <optional>

// The check box of the desktop's style: its size and its three looks.

struct TCheckBoxSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TCheckBoxSize&) const = default;
};

// The size of one check box in the desktop's current style: on Windows one picture of the
// system's check box sheet, on Linux the style's check box indicator. Where the toolkit needs
// the application object for it (Qt), raises Exception before it exists.
TCheckBoxSize CheckBoxSize();

// Test seam: makes CheckBoxSize() answer size instead of measuring the style. An empty size
// restores the real answer.
void OverrideCheckBoxSize(std::optional<TCheckBoxSize> size);

enum class TCheckBoxLook { Unchecked, Checked, Grayed };

// Draws a check box in look filling rect on a painting canvas; Grayed is the look of the
// third state, a box neither checked nor empty.
void DrawCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxLook look);
