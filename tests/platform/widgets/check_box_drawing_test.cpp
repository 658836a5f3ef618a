#include "platform/widgets/check_box_drawing.h"

#include "platform/exceptions.h"
#include "platform/widgets/form.h"
#include "platform/widgets/list_box.h"
#include "support/gui_driver.h"

namespace {

class CheckBoxDrawingTest : public TGuiTest {};

TEST_F(CheckBoxDrawingTest, ThreeLooksAreDistinct) {
    auto look = [](TCheckBoxLook shown) {
        TOffscreenCanvas surface(20, 20);
        DrawCheckBox(surface.Canvas(), {3, 3, 16, 16}, shown);
        return surface.Image();
    };
    const TImage blank = TOffscreenCanvas(20, 20).Image();
    const TImage empty = look(TCheckBoxLook::Unchecked);
    const TImage checked = look(TCheckBoxLook::Checked);
    const TImage grayed = look(TCheckBoxLook::Grayed);
    EXPECT_NE(empty, blank);
    EXPECT_NE(checked, empty);
    EXPECT_NE(grayed, empty);
    EXPECT_NE(grayed, checked);
}

// The canvas of a list box that is not painting.
TEST_F(CheckBoxDrawingTest, CanvasMeasuresAnytimeButDrawsOnlyWhilePainting) {
    struct TList : TCustomListBox {
        explicit TList(TControl* parent) : TCustomListBox(parent) {}
    };
    TForm host;
    TList list(&host);
    TCanvas& canvas = list.Canvas();
    canvas.SetFont({"", 40});
    EXPECT_GE(canvas.TextHeight("Wg"), 40);
    EXPECT_THROW(canvas.FillRect({0, 0, 5, 5}), Exception);
    EXPECT_THROW(DrawCheckBox(canvas, {0, 0, 13, 13}, TCheckBoxLook::Checked), Exception);
}

} // namespace
