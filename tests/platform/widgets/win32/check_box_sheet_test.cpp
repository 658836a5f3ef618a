#include "platform/widgets/win32/check_box_sheet.h"

#include <gtest/gtest.h>

namespace {

// One box of the system's sheet of 4 by 3 pictures, whatever size the style gives the sheet.
TEST(CheckBoxSheet, HoldsFourColumnsAndThreeRowsOfBoxes) {
    EXPECT_EQ(CheckBoxOfSheet(52, 39), (TCheckBoxSize{13, 13}));
    EXPECT_EQ(CheckBoxOfSheet(55, 41), (TCheckBoxSize{13, 13})); // truncating
    EXPECT_EQ(CheckBoxOfSheet(0, 0), (TCheckBoxSize{0, 0}));
}

} // namespace
