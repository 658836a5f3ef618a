#include "form_fixture.h"

#include "platform/widgets/qt/control_impl.h"

#include <QTest>

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

// Keyboards without the menu key open the menu with Shift+F10, as on Windows.
TEST_F(FormTest, ShiftF10OpensThePopupMenu) {
    TRecordingForm* form = ShownForm();
    bool chosen = false;
    form->Menu.Items().Items(0)->OnClick = [&](TObject*) { chosen = true; };
    TPopupMenus menus(*form, {"Command"});
    form->Button->SetFocus();
    QTest::keyClick(QtWidget(*form->Button), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(WaitFor([&] { return chosen; }));
}

} // namespace
