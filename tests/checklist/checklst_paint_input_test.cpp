#include "test_check_list.h"

#include "platform/widgets/check_box_drawing.h"
#include "platform/widgets/form.h"
#include "support/gui_driver.h"

#include <vector>

namespace {

// A check list of three items in a shown window, with room for more rows than it has items.
class CheckListPaintInputTest : public TGuiTest {
protected:
    static void SetUpTestSuite() {
        TGuiTest::SetUpTestSuite();
        // Boxes of 13 by 13, as the system's sheet of 52 by 39 gives them: a check column 15
        // wide.
        OverrideCheckBoxSize(TCheckBoxSize{13, 13});
        ProbeCheckBoxSize();
    }

    CheckListPaintInputTest() {
        Host.SetClientSize(300, 200);
        List.SetBounds(0, 0, 300, 200);
        List.AddItems(3);
    }

    void Show() { ShowAndWait(Host); }

    TForm Host;
    TTestCheckList List{&Host};
};

TEST_F(CheckListPaintInputTest, TheCheckColumnFollowsTheCheckBox) {
    EXPECT_EQ(CheckBoxWidth(), 13);
    EXPECT_EQ(CheckBoxHeight(), 13);
    EXPECT_EQ(List.CheckColumnWidth(), 15);
}

TEST_F(CheckListPaintInputTest, PressesInTheCheckColumnToggle) {
    Show();
    int clicks = 0;
    List.OnClickCheck = [&](TObject*) { ++clicks; };
    const int column = List.CheckColumnWidth();
    const TRect row = List.ItemRect(1);
    const int y = row.Top + row.Height() / 2;

    Click(List, TMouseButton::Left, {column - 1, y});
    EXPECT_EQ(List.ItemState(1), CheckState::Checked);
    Click(List, TMouseButton::Left, {column, y}); // the item's own area
    EXPECT_EQ(List.ItemState(1), CheckState::Checked);
    EXPECT_EQ(List.ItemIndex(), 1);
    Click(List, TMouseButton::Right, {0, y});
    EXPECT_EQ(List.ItemState(1), CheckState::Unchecked);
    EXPECT_EQ(clicks, 2);

    const int below = List.ItemRect(2).Bottom + 1;
    ASSERT_LT(below, ClientRect(List).Height());
    Click(List, TMouseButton::Left, {1, below});
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(List.RecordCount(), std::size_t{1});

    // The second press of a double click toggles as well, however quick.
    DoubleClick(List, {1, y});
    EXPECT_EQ(List.ItemState(1), CheckState::Unchecked);
    EXPECT_EQ(clicks, 4);
}

TEST_F(CheckListPaintInputTest, SpaceTogglesTheCurrentItem) {
    Show();
    PressKey(List, TKey::Space); // no current item
#ifdef _WIN32
    // The system's list box makes its caret item, the first, current on any key first.
    EXPECT_EQ(List.ItemIndex(), 0);
    EXPECT_EQ(List.ItemState(0), CheckState::Checked);
#else
    EXPECT_EQ(List.RecordCount(), std::size_t{0});
#endif

    List.SetItemIndex(2);
    PressKey(List, TKey::Space);
    EXPECT_EQ(List.ItemState(2), CheckState::Checked);

    List.OnKeyPress = [](TObject*, char& key) {
        if (key == ' ') {
            key = 'x';
        }
    };
    PressKey(List, TKey::Space);
    EXPECT_EQ(List.ItemState(2), CheckState::Checked);
}

// A screen reader reads each row as the check box drawn in it, and the keyboard's row as
// selected, focused while the list has the keyboard; its action is a click on the box.
TEST_F(CheckListPaintInputTest, AssistiveToolsReadEachRowAsItsCheckBoxAndToggleIt) {
    List.SetAccessibleName("pages");
    List.SetItemState(2, CheckState::Grayed);
    Show();
    List.SetFocus();
    int clicks = 0;
    List.OnClickCheck = [&](TObject*) { ++clicks; };
    const auto told = RecordCheckEvents(List);
    const TRect row = List.ItemRect(1);
    Click(List, TMouseButton::Left, {1, row.Top + row.Height() / 2});
    EXPECT_EQ(AccessibleName(List), "pages");
    const TAccessibleItem read[] = {
        {"/site/page0.html", "unchecked", false, false},
        {"/site/page1.html", "checked", true, HasFocus(List)},
        {"/site/page2.html", "mixed", false, false},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadAccessibleItem(List, i), read[i]) << "item " << i;
    }
    PressKey(List, TKey::Space);
    EXPECT_EQ(ReadAccessibleItem(List, 1).Check, "unchecked");

    DoAccessibleAction(List, 2);
    EXPECT_TRUE(WaitFor([&] { return ReadAccessibleItem(List, 2).Check == "checked"; }));
    EXPECT_EQ(clicks, 3);
    ProcessEvents();
    EXPECT_EQ(*told, (std::vector<int>{1, 1, 2}));
}

TEST_F(CheckListPaintInputTest, StateChangeRepaintsOnlyItsCheckBoxAtOnce) {
    Show();
    TPaintLog log(List);
    List.SetItemChecked(1, true);
    const TRect row = List.ItemRect(1);
    ASSERT_EQ(log.Rects.size(), 1u); // painted before SetItemChecked returned
    EXPECT_EQ(log.Rects[0],
              (TRect{row.Left, row.Top, row.Left + List.CheckColumnWidth(), row.Bottom}));

    log.Rects.clear();
    List.SetItemChecked(1, true);
    List.SetItemState(2, CheckState::Unchecked);
    ProcessEvents();
    EXPECT_TRUE(log.Rects.empty());
    EXPECT_EQ(List.RecordCount(), std::size_t{1});
}

TEST_F(CheckListPaintInputTest, EachStateHasItsOwnLookInsideTheCheckColumn) {
    List.SetItemState(1, CheckState::Checked);
    List.SetItemState(2, CheckState::Grayed);
    List.SetItemIndex(2);   // the highlight must stay out of the check column
    List.SetFont({"", 30}); // rows taller than the box, which sits in their middle
    Show();
    ASSERT_GT(List.ItemRect(0).Height(), CheckBoxHeight() + 1);
    const TImage image = Grab(List);
    const std::uint32_t background = image.At(image.Width - 1, image.Height - 1);
    std::vector<TImage> columns;
    for (int i = 0; i < 3; ++i) {
        const TRect row = List.ItemRect(i);
        const TImage column = image.Part({0, row.Top, List.CheckColumnWidth(), row.Bottom});
        const TRect box = column.Bounds(background);
        const int top = (row.Height() - CheckBoxHeight()) / 2;
        EXPECT_GT(box.Width(), 0) << "item " << i;
        EXPECT_TRUE(box.Left >= 1 && box.Top >= top && box.Right <= 1 + CheckBoxWidth() &&
                    box.Bottom <= top + CheckBoxHeight())
            << "item " << i << " drawn at " << box.Left << "," << box.Top << " " << box.Width()
            << "x" << box.Height();
        columns.push_back(column);
    }
    EXPECT_NE(columns[0], columns[1]);
    EXPECT_NE(columns[2], columns[0]); // Grayed is not drawn as an empty box
    EXPECT_NE(columns[2], columns[1]);
}

TEST_F(CheckListPaintInputTest, OnDrawItemPaintsOnlyOwnerDrawnLists) {
    List.SetItemChecked(0, true);
    Show();
    std::vector<TRect> drawn;
    List.OnDrawItem = [&](TObject*, int, const TRect& rect, TOwnerDrawState) {
        drawn.push_back(rect);
    };
    Repaint(List);
    EXPECT_TRUE(drawn.empty());
    EXPECT_TRUE(List.OnDrawItem); // given back after painting

    List.SetItemHeight(20);
    List.SetStyle(TListBoxStyle::OwnerDrawFixed);
    Repaint(List);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[1].Left, List.CheckColumnWidth());
    EXPECT_EQ(drawn[1].Height(), 20);
    EXPECT_TRUE(List.ItemChecked(0)); // the style change re-created the window

    List.SetFont({"", 40});
    EXPECT_EQ(List.ItemRect(0).Height(), 20); // an owner-drawn list keeps ItemHeight
}

TEST_F(CheckListPaintInputTest, RowHeightFollowsTheFont) {
    TTestCheckList list(&Host);
    list.SetItemHeight(12);
    list.SetFont({"", 20});
    EXPECT_FALSE(list.HandleAllocated());
    list.AddItems(2);
    // The height of "Wg" in the list's font, measured apart from the list's own rows.
    auto textHeight = [&](int pixels) {
        TOffscreenCanvas measure(1, 1);
        measure.Canvas().SetFont({"", pixels});
        return measure.Canvas().TextHeight("Wg");
    };
    EXPECT_EQ(list.ItemHeight(), textHeight(20));
    EXPECT_GT(list.ItemHeight(), 12);
    list.SetFont({"", 33});
    EXPECT_EQ(list.ItemRect(1).Height(), textHeight(33));
    EXPECT_EQ(list.ItemRect(1).Top, textHeight(33));
}

} // namespace
