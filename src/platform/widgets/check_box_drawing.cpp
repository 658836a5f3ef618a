// What every toolkit shares of check box drawing; the toolkit's half is in qt/check_box_drawing.cpp
// and win32/check_box_drawing.cpp.
#include "platform/widgets/check_box_drawing.h"

#include "platform/widgets/toolkit.h"

namespace {
std::optional<TBitmapSize>& Override() {
    static std::optional<TBitmapSize> size;
    return size;
}
} // namespace

TBitmapSize CheckBoxesBitmapSize() {
    return Override() ? *Override() : MeasureCheckBoxesBitmap();
}

void OverrideCheckBoxesBitmapSize(std::optional<TBitmapSize> size) {
    Override() = size;
}
