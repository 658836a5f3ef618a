#include "test_check_list.h"

#include "platform/exceptions.h"

#include <QApplication>
#include <QTest>

#include <vector>

namespace {

std::vector<CheckState> States(const TCheckListBox& list) {
    std::vector<CheckState> states;
    for (int i = 0; i < list.Items().Count(); ++i) {
        states.push_back(list.ItemState(i));
    }
    return states;
}

} // namespace

class TCheckListStatesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ProbeCheckBoxSize(); }

    void readingAndNoOpSettersCreateNoRecord() {
        TTestCheckList list;
        list.AddItems(3);
        QCOMPARE(list.ItemState(0), CheckState::Unchecked);
        QVERIFY(!list.ItemChecked(1));
        QCOMPARE(list.GetItemData(2), std::intptr_t{0});
        list.SetItemState(0, CheckState::Unchecked);
        list.SetItemChecked(1, false);
        QCOMPARE(list.RecordCount(), std::size_t{0});
        QCOMPARE(list.Slot(0), std::intptr_t{0});

        list.SetItemState(2, CheckState::Grayed);
        list.SetItemChecked(2, false); // compares the checked flag: Grayed is not checked
        QCOMPARE(list.ItemState(2), CheckState::Grayed);
        list.SetItemChecked(2, true);
        QCOMPARE(list.ItemState(2), CheckState::Checked);
        QVERIFY(list.ItemChecked(2));
        QCOMPARE(list.RecordCount(), std::size_t{1});
    }

    void badIndexRaisesBeforeAnythingChanges() {
        TTestCheckList list;
        list.AddItems(3);
        list.SetItemChecked(1, true);
        for (int bad : {-1, 3}) {
            try {
                list.ItemState(bad);
                QFAIL("no EListError");
            } catch (const EListError& error) {
                QVERIFY(error.Message.find(std::to_string(bad)) != std::string::npos);
            }
            QVERIFY_THROWS_EXCEPTION(EListError, list.ItemChecked(bad));
            QVERIFY_THROWS_EXCEPTION(EListError, list.SetItemState(bad, CheckState::Checked));
            QVERIFY_THROWS_EXCEPTION(EListError, list.SetItemChecked(bad, true));
            QVERIFY_THROWS_EXCEPTION(EListError, list.GetItemData(bad));
            QVERIFY_THROWS_EXCEPTION(EListError, list.SetItemData(bad, 5));
            QVERIFY_THROWS_EXCEPTION(EListError, list.Items().Delete(bad));
        }
        QCOMPARE(list.Items().Count(), 3);
        QCOMPARE(list.RecordCount(), std::size_t{1});
        QCOMPARE(States(list),
                 (std::vector{CheckState::Unchecked, CheckState::Checked, CheckState::Unchecked}));
    }

    void userToggleFollowsTheTableAndNotifiesAfterStoring() {
        TTestCheckList list;
        list.AddItems(2);
        std::vector<CheckState> seen;
        list.OnClickCheck = [&](TObject* sender) {
            QCOMPARE(sender, &list);
            seen.push_back(list.ItemState(0));
        };
        list.CycleItemState(0);
        list.CycleItemState(0);
        QCOMPARE(seen, (std::vector{CheckState::Checked, CheckState::Unchecked}));

        list.SetItemState(1, CheckState::Grayed); // a program-made Grayed goes to Checked
        list.CycleItemState(1);
        QCOMPARE(list.ItemState(1), CheckState::Checked);

        seen.clear();
        list.SetAllowGrayed(true);
        for (int i = 0; i < 3; ++i) {
            list.CycleItemState(0);
        }
        QCOMPARE(seen,
                 (std::vector{CheckState::Grayed, CheckState::Checked, CheckState::Unchecked}));

        seen.clear();
        list.CycleItemState(-1);
        list.CycleItemState(2);
        list.SetItemState(0, CheckState::Checked);
        list.SetItemChecked(1, false);
        QVERIFY(seen.empty()); // neither bad numbers nor program calls notify
    }

    void recordsStayWithTheirItems() {
        TTestCheckList list;
        list.AddItems(5);
        const std::vector<CheckState> states{CheckState::Checked, CheckState::Grayed,
                                             CheckState::Checked, CheckState::Unchecked,
                                             CheckState::Grayed};
        for (int i = 0; i < 5; ++i) {
            list.SetItemState(i, states[static_cast<std::size_t>(i)]);
        }
        list.SetItemData(3, 33); // a record for an Unchecked item
        QCOMPARE(list.RecordCount(), std::size_t{5});

        list.Items().Delete(2);
        QCOMPARE(list.RecordCount(), std::size_t{4});
        QCOMPARE(States(list), (std::vector{CheckState::Checked, CheckState::Grayed,
                                            CheckState::Unchecked, CheckState::Grayed}));
        QCOMPARE(list.GetItemData(2), std::intptr_t{33});

        list.Items().Clear();
        QCOMPARE(list.RecordCount(), std::size_t{0});
        list.AddItems(1);
        QCOMPARE(list.ItemState(0), CheckState::Unchecked);
    }

    void recreationKeepsStatesAndUserData() {
        TTestCheckList list;
        list.AddItems(4);
        list.SetItemState(0, CheckState::Checked);
        list.SetItemState(2, CheckState::Grayed);
        list.SetItemData(1, 11);
        list.SetItemData(2, -22);

        list.RecreateWnd();
        QCOMPARE(list.Items().Count(), 4);
        QCOMPARE(States(list), (std::vector{CheckState::Checked, CheckState::Unchecked,
                                            CheckState::Grayed, CheckState::Unchecked}));
        QCOMPARE(list.GetItemData(1), std::intptr_t{11});
        QCOMPARE(list.GetItemData(2), std::intptr_t{-22});
        QCOMPARE(list.GetItemData(3), std::intptr_t{0});
        QCOMPARE(list.RecordCount(), std::size_t{4}); // every re-added item got a record

        // Saved states are handed out only during the re-creation.
        list.AddItems(1);
        list.SetItemData(4, 1);
        QCOMPARE(list.ItemState(4), CheckState::Unchecked);
    }

    void slotValuesThatAreNoRecordAreNeverUsed() {
        TTestCheckList list;
        list.AddItems(3);
        list.SetItemChecked(0, true);
        const std::intptr_t released = list.Slot(0);
        list.Items().Delete(0); // its record is gone; the old word must not find it again
        list.SetSlot(0, released);
        list.SetSlot(1, 0x12345);
        QCOMPARE(list.ItemState(0), CheckState::Unchecked);
        QCOMPARE(list.GetItemData(1), std::intptr_t{0});

        list.Items().Delete(1);       // released nothing, as there was nothing to release
        list.SetItemChecked(0, true); // overwrites the foreign word with a record of its own
        QVERIFY(list.ItemChecked(0));
        QVERIFY(list.Slot(0) != released);
        QCOMPARE(list.RecordCount(), std::size_t{1});
    }
};

QTEST_MAIN(TCheckListStatesTest)
#include "checklst_states_test.moc"
