#include "platform/widgets/list_box.h"

#include "platform/exceptions.h"
#include "platform/widgets/qt/control_impl.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

namespace {

// A list box that keeps its data words as they are and records what its base asks of it.
class TRecordingListBox : public TCustomListBox {
public:
    TRecordingListBox() : TCustomListBox(nullptr) {}
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

QWidget* Viewport(TCustomListBox& list) {
    return static_cast<QAbstractScrollArea*>(QtWidget(list))->viewport();
}

// A shown list of count items "item 0" ... with rows 10 pixels high, 10 full rows visible.
void Fill(TRecordingListBox& list, int count) {
    list.SetStyle(TListBoxStyle::OwnerDrawFixed);
    list.SetItemHeight(10);
    list.Items().BeginUpdate();
    for (int i = 0; i < count; ++i) {
        list.Items().Add("item " + std::to_string(i));
    }
    list.Items().EndUpdate();
    auto* widget = static_cast<QAbstractScrollArea*>(QtWidget(list));
    widget->resize(200, 100 + 2 * widget->frameWidth());
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget));
    QCOMPARE(Viewport(list)->height(), 100);
}

} // namespace

class TListBoxTest : public QObject {
    Q_OBJECT

private slots:
    void itemsKeepTextAndDataWord() {
        TRecordingListBox list;
        QVERIFY(!list.HandleAllocated());
        QCOMPARE(list.Items().Add("a"), 0);
        QVERIFY(list.HandleAllocated());
        QCOMPARE(list.Items().Add("b"), 1);
        list.Items().Add("c");
        list.SetItemData(2, 77);
        QCOMPARE(list.GetItemData(0), std::intptr_t{0});
        QCOMPARE(list.GetItemData(3), std::intptr_t{-1});
        QCOMPARE(list.GetItemData(-1), std::intptr_t{-1});
        QVERIFY_THROWS_EXCEPTION(EListError, list.SetItemData(3, 1));
        QVERIFY_THROWS_EXCEPTION(EListError, list.Items()[3]);
        QVERIFY_THROWS_EXCEPTION(EListError, list.Items().Delete(-1));

        list.SetItemIndex(2);
        list.Items().Delete(0);
        QCOMPARE(list.Items().Count(), 2);
        QCOMPARE(list.Items()[1], std::string("c"));
        QCOMPARE(list.GetItemData(1), std::intptr_t{77});
        QCOMPARE(list.ItemIndex(), 1); // the current item moved with its item
        list.Items().Clear();
        QCOMPARE(list.Items().Count(), 0);
        QCOMPARE(list.ItemIndex(), -1);
    }

    void recreationReaddsItemsWithTheirData() {
        TRecordingListBox list;
        Fill(list, 30);
        for (int i = 0; i < 30; ++i) {
            list.SetItemData(i, 100 + i);
        }
        list.SetItemIndex(25);
        const int top = list.TopIndex();
        QVERIFY(top > 0);
        list.DataCalls.clear();

        list.RecreateWnd();
        QVERIFY(list.HandleAllocated());
        QCOMPARE(list.Items().Count(), 30);
        QCOMPARE(list.DataCalls.size(), std::size_t{30}); // once per item, in item order
        for (int i = 0; i < 30; ++i) {
            QCOMPARE(list.DataCalls[static_cast<std::size_t>(i)],
                     std::make_pair(i, std::intptr_t{100 + i}));
            QCOMPARE(list.Items()[i], "item " + std::to_string(i));
        }
        QCOMPARE(list.ItemIndex(), 25);
        QCOMPARE(list.TopIndex(), top);
    }

    void rowsGeometryAndScrolling() {
        TRecordingListBox list;
        QCOMPARE(list.Perform(LB_SETITEMHEIGHT, 0, 12), LB_ERR); // no window yet
        Fill(list, 30);
        const int width = Viewport(list)->width();
        QCOMPARE(list.ItemHeight(), 10);
        QCOMPARE(list.ItemRect(3), (TRect{0, 30, width, 40}));
        QCOMPARE(list.ItemRect(30), TRect{});
        QCOMPARE(list.ItemAtPos({5, 39}), 3);
        QCOMPARE(list.ItemAtPos({5, -1}), -1);

        QWidget* widget = QtWidget(list);
        QTest::keyClick(widget, Qt::Key_Down); // from no current item to the first
        QCOMPARE(list.ItemIndex(), 0);
        QTest::keyClick(widget, Qt::Key_End);
        QCOMPARE(list.ItemIndex(), 29);
        QCOMPARE(list.TopIndex(), 20); // the last item is in view, at the bottom
        QCOMPARE(list.ItemRect(29), (TRect{0, 90, width, 100}));
        QTest::keyClick(widget, Qt::Key_PageUp);
        QCOMPARE(list.ItemIndex(), 20);
        QTest::keyClick(widget, Qt::Key_Up);
        QCOMPARE(list.ItemIndex(), 19);
        QCOMPARE(list.TopIndex(), 19);
        QTest::keyClick(widget, Qt::Key_Home);
        QCOMPARE(list.ItemIndex(), 0);
        QCOMPARE(list.TopIndex(), 0);

        QCOMPARE(list.Perform(LB_SETITEMHEIGHT, 0, 0), LB_ERR);
        QCOMPARE(list.Perform(LB_SETITEMHEIGHT, 0, 20), std::intptr_t{0});
        QCOMPARE(list.ItemRect(2), (TRect{0, 40, width, 60}));
    }

    void paintingDrawsOnlyVisibleRowsThroughDrawItem() {
        TRecordingListBox list;
        Fill(list, 1000);
        list.SetItemIndex(500);
        list.Drawn.clear();
        Viewport(list)->repaint();
        QCOMPARE(list.Drawn.size(), std::size_t{10});
        const int width = Viewport(list)->width();
        QCOMPARE(list.Drawn.front(), std::make_pair(491, TRect{0, 0, width, 10}));

        int handled = 0;
        list.OnDrawItem = [&](TObject* sender, int, const TRect&, TOwnerDrawState) {
            QCOMPARE(sender, &list);
            ++handled;
        };
        Viewport(list)->repaint();
        QCOMPARE(handled, 10);
    }

    void mouseAndCharactersReachTheVirtuals() {
        TRecordingListBox list;
        Fill(list, 5);
        QCOMPARE(list.ItemAtPos({7, 55}), -1); // below the last item
        QTest::mousePress(Viewport(list), Qt::LeftButton, {}, QPoint(7, 23));
        QTest::mousePress(Viewport(list), Qt::RightButton, {}, QPoint(7, 43));
        QCOMPARE(list.Presses.size(), std::size_t{2});
        QCOMPARE(list.Presses[0].CurrentItem, 2); // a left press moves the current item first
        QCOMPARE(list.Presses[0].X, 7);
        QCOMPARE(list.Presses[0].Y, 23);
        QCOMPARE(list.Presses[1].Button, TMouseButton::Right);
        QCOMPARE(list.Presses[1].CurrentItem, 2); // a right press does not

        std::string typed;
        list.OnKeyPress = [&](TObject*, char& key) { typed += key; };
        QTest::keyClicks(QtWidget(list), "a ");
        QCOMPARE(typed, std::string("a "));
    }

    void contextMenuReachesTheParent() {
        struct THost : QWidget {
            int Menus = 0;
            void contextMenuEvent(QContextMenuEvent*) override { ++Menus; }
        } host;
        TRecordingListBox list;
        QtWidget(list)->setParent(&host);
        host.show();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(Viewport(list), &event);
        QCOMPARE(host.Menus, 1);
    }
};

QTEST_MAIN(TListBoxTest)
#include "list_box_test.moc"
