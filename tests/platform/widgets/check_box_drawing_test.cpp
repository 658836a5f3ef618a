#include "platform/widgets/check_box_drawing.h"

#include "platform/exceptions.h"
#include "platform/widgets/form.h"
#include "platform/widgets/list_box.h"
#include "support/gui_driver.h"

namespace {

class CheckBoxDrawingTest : public TGuiTest {};

TEST_F(CheckBoxDrawingTest, ThreeLooksAreDistinctAndOtherStatesDrawNothing) {
    auto look = [](unsigned type, unsigned state, bool expectDrawn) {
        TOffscreenCanvas surface(20, 20);
        EXPECT_EQ(DrawFrameControl(surface.Canvas(), {3, 3, 16, 16}, type, state), expectDrawn)
            << "type " << type << " state " << state;
        return surface.Image();
    };
    const TImage blank = TOffscreenCanvas(20, 20).Image();
    const TImage empty = look(DFC_BUTTON, DFCS_BUTTONCHECK, true);
    const TImage checked = look(DFC_BUTTON, DFCS_CHECKED, true);
    const TImage grayed = look(DFC_BUTTON, DFCS_CHECKED | DFCS_BUTTON3STATE, true);
    EXPECT_NE(empty, blank);
    EXPECT_NE(checked, empty);
    EXPECT_NE(grayed, empty);
    EXPECT_NE(grayed, checked);

    EXPECT_EQ(look(DFC_BUTTON, DFCS_BUTTON3STATE, false), blank);
    EXPECT_EQ(look(DFC_BUTTON + 1, DFCS_CHECKED, false), blank);
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
    EXPECT_THROW(DrawFrameControl(canvas, {0, 0, 13, 13}, DFC_BUTTON, DFCS_CHECKED), Exception);
}

} // namespace
