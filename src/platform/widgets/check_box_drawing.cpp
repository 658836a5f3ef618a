// What every toolkit shares of check box drawing; the toolkit's half is in qt/check_box_drawing.cpp
// and win32/check_box_drawing.cpp.
#include "platform/widgets/check_box_drawing.h"

#include "platform/widgets/toolkit.h"

namespace {
std::optional<TCheckBoxSize>& Override() {
    static std::optional<TCheckBoxSize> size;
    return size;
}
} // namespace

TCheckBoxSize CheckBoxSize() {
    return Override() ? *Override() : MeasureCheckBox();
}

void OverrideCheckBoxSize(std::optional<TCheckBoxSize> size) {
    Override() = size;
}
