#include "platform/widgets/list_box.h"

#include "platform/exceptions.h"
#include "platform/widgets/form.h"
#include "support/gui_driver.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// A list box that keeps its data words as they are and records what its base asks of it.
class TRecordingListBox : public TCustomListBox {
public:
    explicit TRecordingListBox(TControl* parent) : TCustomListBox(parent) {}
    using TCustomListBox::GetItemData;
    using TCustomListBox::SetItemData;

    void SetItemData(int index, std::intptr_t value) override {
        DataCalls.emplace_back(index, value);
        TCustomListBox::SetItemData(index, value);
    }
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override {
        Drawn.emplace_back(index, rect);
        TCustomListBox::DrawItem(index, rect, state);
    }
    void MouseDown(TMouseButton button, TShiftState, int x, int y) override {
        Presses.push_back({button, x, y, ItemIndex()});
    }

    struct TPress {
        TMouseButton Button;
        int X, Y, CurrentItem;
    };
    std::vector<std::pair<int, std::intptr_t>> DataCalls;
    std::vector<std::pair<int, TRect>> Drawn;
    std::vector<TPress> Presses;
};

class ListBoxTest : public TGuiTest {
protected:
    // A shown list of count items "item 0" ... with rows 10 pixels high, 10 full rows visible.
    void Fill(int count) {
        Host.SetClientSize(200, 200);
        List.SetStyle(TListBoxStyle::OwnerDrawFixed);
        List.SetItemHeight(10);
        List.Items().BeginUpdate();
        for (int i = 0; i < count; ++i) {
            List.Items().Add("item " + std::to_string(i));
        }
        List.Items().EndUpdate();
        ShowAndWait(Host);
        // The frame around the items takes its own pixels.
        List.SetBounds(0, 0, 200, 200);
        const TRect client = ClientRect(List);
        List.SetBounds(0, 0, 200, 100 + 200 - client.Height());
        ProcessEvents();
        ASSERT_EQ(ClientRect(List).Height(), 100);
    }

    TForm Host;
    TRecordingListBox List{&Host};
};

TEST_F(ListBoxTest, ItemsKeepTextAndDataWord) {
    EXPECT_FALSE(List.HandleAllocated());
    EXPECT_EQ(List.Items().Add("a"), 0);
    EXPECT_TRUE(List.HandleAllocated());
    EXPECT_EQ(List.Items().Add("b"), 1);
    List.Items().Add("c");
    List.SetItemData(2, 77);
    EXPECT_EQ(List.GetItemData(0), 0);
    EXPECT_EQ(List.GetItemData(3), -1);
    EXPECT_EQ(List.GetItemData(-1), -1);
    EXPECT_THROW(List.SetItemData(3, 1), EListError);
    EXPECT_THROW(List.Items()[3], EListError);
    EXPECT_THROW(List.Items().Delete(-1), EListError);

    List.SetItemIndex(2);
    List.Items().Delete(0);
    EXPECT_EQ(List.Items().Count(), 2);
    EXPECT_EQ(List.Items()[1], "c");
    EXPECT_EQ(List.GetItemData(1), 77);
    EXPECT_EQ(List.ItemIndex(), 1); // the current item moved with its item
    List.Items().Clear();
    EXPECT_EQ(List.Items().Count(), 0);
    EXPECT_EQ(List.ItemIndex(), -1);
}

TEST_F(ListBoxTest, RecreationReaddsItemsWithTheirData) {
    Fill(30);
    for (int i = 0; i < 30; ++i) {
        List.SetItemData(i, 100 + i);
    }
    List.SetItemIndex(25);
    const int top = List.TopIndex();
    EXPECT_GT(top, 0);
    List.DataCalls.clear();

    List.RecreateWnd();
    EXPECT_TRUE(List.HandleAllocated());
    ASSERT_EQ(List.Items().Count(), 30);
    ASSERT_EQ(List.DataCalls.size(), 30u); // once per item, in item order
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(List.DataCalls[static_cast<std::size_t>(i)],
                  std::make_pair(i, std::intptr_t{100 + i}));
        EXPECT_EQ(List.Items()[i], "item " + std::to_string(i));
    }
    EXPECT_EQ(List.ItemIndex(), 25);
    EXPECT_EQ(List.TopIndex(), top);
}

TEST_F(ListBoxTest, RowsGeometryAndScrolling) {
    EXPECT_FALSE(List.SetRowHeight(12)); // no window yet
    Fill(30);
    const int width = ClientRect(List).Width();
    EXPECT_EQ(List.ItemHeight(), 10);
    EXPECT_EQ(List.ItemRect(3), (TRect{0, 30, width, 40}));
    EXPECT_EQ(List.ItemRect(30), TRect{});
    EXPECT_EQ(List.ItemAtPos({5, 39}), 3);
    EXPECT_EQ(List.ItemAtPos({5, -1}), -1);

    PressKey(List, TKey::Down); // from no current item to the first
    EXPECT_EQ(List.ItemIndex(), 0);
    PressKey(List, TKey::End);
    EXPECT_EQ(List.ItemIndex(), 29);
    EXPECT_EQ(List.TopIndex(), 20); // the last item is in view, at the bottom
    EXPECT_EQ(List.ItemRect(29), (TRect{0, 90, width, 100}));
    PressKey(List, TKey::PageUp);
    EXPECT_EQ(List.ItemIndex(), 20);
    PressKey(List, TKey::Up);
    EXPECT_EQ(List.ItemIndex(), 19);
    EXPECT_EQ(List.TopIndex(), 19);
    PressKey(List, TKey::Home);
    EXPECT_EQ(List.ItemIndex(), 0);
    EXPECT_EQ(List.TopIndex(), 0);

    EXPECT_FALSE(List.SetRowHeight(0));
    EXPECT_FALSE(List.SetRowHeight(256));
    EXPECT_EQ(List.ItemRect(2), (TRect{0, 20, width, 30}));
    EXPECT_TRUE(List.SetRowHeight(20));
    EXPECT_EQ(List.ItemRect(2), (TRect{0, 40, width, 60}));
    EXPECT_EQ(List.ItemAtPos({5, 39}), 1);
    EXPECT_EQ(List.ItemHeight(), 10); // the property of an owner-drawn list stays
}

TEST_F(ListBoxTest, PaintingDrawsOnlyVisibleRowsThroughDrawItem) {
    Fill(1000);
    List.SetItemIndex(500);
    List.Drawn.clear();
    Repaint(List);
    // The rows in view, each at its place; a system list box paints its focused row once more.
    std::set<int> rows;
    const int width = ClientRect(List).Width();
    for (const auto& [index, rect] : List.Drawn) {
        rows.insert(index);
        EXPECT_EQ(rect, (TRect{0, (index - 491) * 10, width, (index - 490) * 10})) << index;
    }
    EXPECT_EQ(rows.size(), 10u);
    EXPECT_EQ(*rows.begin(), 491);

    std::set<int> handled;
    List.OnDrawItem = [&](TObject* sender, int index, const TRect&, TOwnerDrawState) {
        EXPECT_EQ(sender, &List);
        handled.insert(index);
    };
    Repaint(List);
    EXPECT_EQ(handled, rows);
}

// As after the scan, which fills the shown list while it does not draw.
TEST_F(ListBoxTest, ItemsAddedWhileDrawingIsOffArePaintedWhenItComesBack) {
    Fill(0);
    List.Items().BeginUpdate();
    for (int i = 0; i < 3; ++i) {
        List.Items().Add("item " + std::to_string(i));
    }
    List.Drawn.clear();
    List.Items().EndUpdate();
    std::set<int> rows;
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& drawn : List.Drawn) {
            rows.insert(drawn.first);
        }
        return rows == std::set<int>{0, 1, 2};
    }));
}

TEST_F(ListBoxTest, MouseAndCharactersReachTheVirtuals) {
    Fill(5);
    EXPECT_EQ(List.ItemAtPos({7, 55}), -1); // below the last item
    Click(List, TMouseButton::Left, {7, 23});
    Click(List, TMouseButton::Right, {7, 43});
    ASSERT_EQ(List.Presses.size(), 2u);
    EXPECT_EQ(List.Presses[0].CurrentItem, 2); // a left press moves the current item first
    EXPECT_EQ(List.Presses[0].X, 7);
    EXPECT_EQ(List.Presses[0].Y, 23);
    EXPECT_EQ(List.Presses[1].Button, TMouseButton::Right);
    EXPECT_EQ(List.Presses[1].CurrentItem, 2); // a right press does not

    std::string typed;
    List.OnKeyPress = [&](TObject*, char& key) { typed += key; };
    TypeText(List, "a ");
    EXPECT_EQ(typed, "a ");
}

} // namespace
