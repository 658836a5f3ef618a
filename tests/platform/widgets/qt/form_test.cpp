#include "form_fixture.h"

namespace {

// What lay under the menu is painted anew before the program goes on, which during a run means
// before the next checker holds it. (Windows puts back what lay under a menu itself.)
TEST_F(FormTest, ThePopupMenuReturnsWithTheWindowPaintedAfterItClosed) {
    TRecordingForm* form = ShownForm();
    bool closed = false, paintedAfter = false;
    form->Menu.Items().Items(0)->OnClick = [&](TObject*) { closed = true; };
    TPaintLog log(*form);
    log.OnPaint = [&] { paintedAfter = paintedAfter || closed; };
    ChoosePopupCommand(*form, *form->Label, {5, 5}, {"Command"});
    EXPECT_TRUE(closed);
    EXPECT_TRUE(paintedAfter);
}

} // namespace
