#include "test_check_list.h"

#include "platform/exceptions.h"
#include "support/gui_driver.h"

#include <vector>

namespace {

std::vector<CheckState> States(const TCheckListBox& list) {
    std::vector<CheckState> states;
    for (int i = 0; i < list.Items().Count(); ++i) {
        states.push_back(list.ItemState(i));
    }
    return states;
}

class CheckListStatesTest : public TGuiTest {
protected:
    static void SetUpTestSuite() {
        TGuiTest::SetUpTestSuite();
        ProbeCheckBoxSize();
    }
};

TEST_F(CheckListStatesTest, ReadingAndNoOpSettersCreateNoRecord) {
    TTestCheckList list;
    list.AddItems(3);
    EXPECT_EQ(list.ItemState(0), CheckState::Unchecked);
    EXPECT_FALSE(list.ItemChecked(1));
    EXPECT_EQ(list.GetItemData(2), std::intptr_t{0});
    list.SetItemState(0, CheckState::Unchecked);
    list.SetItemChecked(1, false);
    EXPECT_EQ(list.RecordCount(), std::size_t{0});
    EXPECT_EQ(list.Slot(0), std::intptr_t{0});

    list.SetItemState(2, CheckState::Grayed);
    list.SetItemChecked(2, false); // compares the checked flag: Grayed is not checked
    EXPECT_EQ(list.ItemState(2), CheckState::Grayed);
    list.SetItemChecked(2, true);
    EXPECT_EQ(list.ItemState(2), CheckState::Checked);
    EXPECT_TRUE(list.ItemChecked(2));
    EXPECT_EQ(list.RecordCount(), std::size_t{1});
}

TEST_F(CheckListStatesTest, BadIndexRaisesBeforeAnythingChanges) {
    TTestCheckList list;
    list.AddItems(3);
    list.SetItemChecked(1, true);
    for (int bad : {-1, 3}) {
        try {
            list.ItemState(bad);
            FAIL() << "no EListError";
        } catch (const EListError& error) {
            EXPECT_TRUE(error.Message.find(std::to_string(bad)) != std::string::npos);
        }
        EXPECT_THROW(list.ItemChecked(bad), EListError);
        EXPECT_THROW(list.SetItemState(bad, CheckState::Checked), EListError);
        EXPECT_THROW(list.SetItemChecked(bad, true), EListError);
        EXPECT_THROW(list.GetItemData(bad), EListError);
        EXPECT_THROW(list.SetItemData(bad, 5), EListError);
        EXPECT_THROW(list.Items().Delete(bad), EListError);
    }
    EXPECT_EQ(list.Items().Count(), 3);
    EXPECT_EQ(list.RecordCount(), std::size_t{1});
    EXPECT_EQ(States(list),
              (std::vector{CheckState::Unchecked, CheckState::Checked, CheckState::Unchecked}));
}

TEST_F(CheckListStatesTest, UserToggleFollowsTheTableAndNotifiesAfterStoring) {
    TTestCheckList list;
    list.AddItems(2);
    std::vector<CheckState> seen;
    list.OnClickCheck = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        seen.push_back(list.ItemState(0));
    };
    list.CycleItemState(0);
    list.CycleItemState(0);
    EXPECT_EQ(seen, (std::vector{CheckState::Checked, CheckState::Unchecked}));

    list.SetItemState(1, CheckState::Grayed); // a program-made Grayed goes to Checked
    list.CycleItemState(1);
    EXPECT_EQ(list.ItemState(1), CheckState::Checked);

    seen.clear();
    list.SetAllowGrayed(true);
    for (int i = 0; i < 3; ++i) {
        list.CycleItemState(0);
    }
    EXPECT_EQ(seen, (std::vector{CheckState::Grayed, CheckState::Checked, CheckState::Unchecked}));

    seen.clear();
    list.CycleItemState(-1);
    list.CycleItemState(2);
    list.SetItemState(0, CheckState::Checked);
    list.SetItemChecked(1, false);
    EXPECT_TRUE(seen.empty()); // neither bad numbers nor program calls notify
}

TEST_F(CheckListStatesTest, RecordsStayWithTheirItems) {
    TTestCheckList list;
    list.AddItems(5);
    const std::vector<CheckState> states{CheckState::Checked, CheckState::Grayed,
                                         CheckState::Checked, CheckState::Unchecked,
                                         CheckState::Grayed};
    for (int i = 0; i < 5; ++i) {
        list.SetItemState(i, states[static_cast<std::size_t>(i)]);
    }
    list.SetItemData(3, 33); // a record for an Unchecked item
    EXPECT_EQ(list.RecordCount(), std::size_t{5});

    list.Items().Delete(2);
    EXPECT_EQ(list.RecordCount(), std::size_t{4});
    EXPECT_EQ(States(list), (std::vector{CheckState::Checked, CheckState::Grayed,
                                         CheckState::Unchecked, CheckState::Grayed}));
    EXPECT_EQ(list.GetItemData(2), std::intptr_t{33});

    list.Items().Clear();
    EXPECT_EQ(list.RecordCount(), std::size_t{0});
    list.AddItems(1);
    EXPECT_EQ(list.ItemState(0), CheckState::Unchecked);
}

TEST_F(CheckListStatesTest, RecreationKeepsStatesAndUserData) {
    TTestCheckList list;
    list.AddItems(4);
    list.SetItemState(0, CheckState::Checked);
    list.SetItemState(2, CheckState::Grayed);
    list.SetItemData(1, 11);
    list.SetItemData(2, -22);

    list.RecreateWnd();
    EXPECT_EQ(list.Items().Count(), 4);
    EXPECT_EQ(States(list), (std::vector{CheckState::Checked, CheckState::Unchecked,
                                         CheckState::Grayed, CheckState::Unchecked}));
    EXPECT_EQ(list.GetItemData(1), std::intptr_t{11});
    EXPECT_EQ(list.GetItemData(2), std::intptr_t{-22});
    EXPECT_EQ(list.GetItemData(3), std::intptr_t{0});
    EXPECT_EQ(list.RecordCount(), std::size_t{4}); // every re-added item got a record

    // Saved states are handed out only during the re-creation.
    list.AddItems(1);
    list.SetItemData(4, 1);
    EXPECT_EQ(list.ItemState(4), CheckState::Unchecked);
}

TEST_F(CheckListStatesTest, SlotValuesThatAreNoRecordAreNeverUsed) {
    TTestCheckList list;
    list.AddItems(3);
    list.SetItemChecked(0, true);
    const std::intptr_t released = list.Slot(0);
    list.Items().Delete(0); // its record is gone; the old word must not find it again
    list.SetSlot(0, released);
    list.SetSlot(1, 0x12345);
    EXPECT_EQ(list.ItemState(0), CheckState::Unchecked);
    EXPECT_EQ(list.GetItemData(1), std::intptr_t{0});

    list.Items().Delete(1);       // released nothing, as there was nothing to release
    list.SetItemChecked(0, true); // overwrites the foreign word with a record of its own
    EXPECT_TRUE(list.ItemChecked(0));
    EXPECT_TRUE(list.Slot(0) != released);
    EXPECT_EQ(list.RecordCount(), std::size_t{1});
}
} // namespace
