#include "test_check_list.h"

#include "platform/widgets/check_box_drawing.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEvent>
#include <QTest>

#include <vector>

namespace {

// Shows the list with room for more rows than it has items, all events handled.
void Show(TTestCheckList& list) {
    auto* widget = static_cast<QAbstractScrollArea*>(QtWidget(list));
    widget->resize(300, 200);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget));
    QApplication::processEvents();
}

void Click(TTestCheckList& list, Qt::MouseButton button, int x, int y) {
    QTest::mouseClick(list.Viewport(), button, {}, QPoint(x, y));
}

// The rectangles of the paint events that reach a widget.
class TPaintLog : public QObject {
public:
    explicit TPaintLog(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Rects.push_back(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
    std::vector<QRect> Rects;
};

QRect Bounds(const QImage& image, QRgb background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace

class TCheckListPaintInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        OverrideCheckBoxesBitmapSize(TBitmapSize{52, 39});
        ProbeCheckBoxSize();
        QCOMPARE(CheckBoxWidth(), 13);
        QCOMPARE(CheckBoxHeight(), 13);
        QCOMPARE(TTestCheckList().CheckColumnWidth(), 15);
    }

    void pressesInTheCheckColumnToggle() {
        TTestCheckList list;
        list.AddItems(3);
        Show(list);
        int clicks = 0;
        list.OnClickCheck = [&](TObject*) { ++clicks; };
        const int column = list.CheckColumnWidth();
        const TRect row = list.ItemRect(1);
        const int y = row.Top + row.Height() / 2;

        Click(list, Qt::LeftButton, column - 1, y);
        QCOMPARE(list.ItemState(1), CheckState::Checked);
        Click(list, Qt::LeftButton, column, y); // the item's own area
        QCOMPARE(list.ItemState(1), CheckState::Checked);
        QCOMPARE(list.ItemIndex(), 1);
        Click(list, Qt::RightButton, 0, y);
        QCOMPARE(list.ItemState(1), CheckState::Unchecked);
        QCOMPARE(clicks, 2);

        const int below = list.ItemRect(2).Bottom + 1;
        QVERIFY(below < list.Viewport()->height());
        Click(list, Qt::LeftButton, 1, below);
        QCOMPARE(clicks, 2);
        QCOMPARE(list.RecordCount(), std::size_t{1});

        // The second press of a double click toggles as well, however quick.
        QWidget* window = QtWidget(list);
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                           list.Viewport()->mapTo(window, QPoint(1, y)));
        QCOMPARE(list.ItemState(1), CheckState::Unchecked);
        QCOMPARE(clicks, 4);
    }

    void spaceTogglesTheCurrentItem() {
        TTestCheckList list;
        list.AddItems(3);
        Show(list);
        QWidget* widget = QtWidget(list);
        QTest::keyClick(widget, Qt::Key_Space); // no current item
        QCOMPARE(list.RecordCount(), std::size_t{0});

        list.SetItemIndex(2);
        QTest::keyClick(widget, Qt::Key_Space);
        QCOMPARE(list.ItemState(2), CheckState::Checked);

        list.OnKeyPress = [](TObject*, char& key) {
            if (key == ' ') {
                key = 'x';
            }
        };
        QTest::keyClick(widget, Qt::Key_Space);
        QCOMPARE(list.ItemState(2), CheckState::Checked);
    }

    void stateChangeRepaintsOnlyItsCheckBoxAtOnce() {
        TTestCheckList list;
        list.AddItems(3);
        Show(list);
        TPaintLog log(list.Viewport());
        std::vector<QRect>& rects = log.Rects;

        list.SetItemChecked(1, true);
        const TRect row = list.ItemRect(1);
        QCOMPARE(rects.size(), std::size_t{1}); // painted before SetItemChecked returned
        QCOMPARE(rects[0], QRect(row.Left, row.Top, list.CheckColumnWidth(), row.Height()));

        rects.clear();
        list.SetItemChecked(1, true);
        list.SetItemState(2, CheckState::Unchecked);
        QApplication::processEvents();
        QVERIFY(rects.empty());
        QCOMPARE(list.RecordCount(), std::size_t{1});
    }

    void eachStateHasItsOwnLookInsideTheCheckColumn() {
        TTestCheckList list;
        list.AddItems(3);
        list.SetItemState(1, CheckState::Checked);
        list.SetItemState(2, CheckState::Grayed);
        list.SetItemIndex(2);   // the highlight must stay out of the check column
        list.SetFont({"", 30}); // rows taller than the box, which sits in their middle
        Show(list);
        QVERIFY(list.ItemRect(0).Height() > CheckBoxHeight() + 1);
        const QImage image =
            list.Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
        std::vector<QImage> columns;
        for (int i = 0; i < 3; ++i) {
            const TRect row = list.ItemRect(i);
            const QImage column = image.copy(0, row.Top, list.CheckColumnWidth(), row.Height());
            const QRect box = Bounds(column, background);
            const int top = (row.Height() - CheckBoxHeight()) / 2;
            QVERIFY(!box.isEmpty());
            QVERIFY2(QRect(1, top, CheckBoxWidth(), CheckBoxHeight()).contains(box),
                     qPrintable(QString("item %1 drawn at %2,%3 %4x%5")
                                    .arg(i)
                                    .arg(box.x())
                                    .arg(box.y())
                                    .arg(box.width())
                                    .arg(box.height())));
            columns.push_back(column);
        }
        QVERIFY(columns[0] != columns[1]);
        QVERIFY(columns[2] != columns[0]); // Grayed is not drawn as an empty box
        QVERIFY(columns[2] != columns[1]);
    }

    void onDrawItemPaintsOnlyOwnerDrawnLists() {
        TTestCheckList list;
        list.AddItems(3);
        list.SetItemChecked(0, true);
        Show(list);
        std::vector<TRect> drawn;
        list.OnDrawItem = [&](TObject*, int, const TRect& rect, TOwnerDrawState) {
            drawn.push_back(rect);
        };
        list.Viewport()->repaint();
        QVERIFY(drawn.empty());
        QVERIFY(list.OnDrawItem); // given back after painting

        list.SetItemHeight(20);
        list.SetStyle(TListBoxStyle::OwnerDrawFixed);
        list.Viewport()->repaint();
        QCOMPARE(drawn.size(), std::size_t{3});
        QCOMPARE(drawn[1].Left, list.CheckColumnWidth());
        QCOMPARE(drawn[1].Height(), 20);
        QVERIFY(list.ItemChecked(0)); // the style change re-created the window

        list.SetFont({"", 40});
        QCOMPARE(list.ItemRect(0).Height(), 20); // an owner-drawn list keeps ItemHeight
    }

    void rowHeightFollowsTheFont() {
        TTestCheckList list;
        list.SetItemHeight(12);
        list.SetFont({"", 20});
        QVERIFY(!list.HandleAllocated());
        list.AddItems(2);
        auto textHeight = [&] {
            return QFontMetrics(QtWidget(list)->font()).size(Qt::TextSingleLine, "Wg").height();
        };
        QCOMPARE(list.ItemHeight(), textHeight());
        QVERIFY(list.ItemHeight() > 12);
        list.SetFont({"", 33});
        QCOMPARE(list.ItemRect(1).Height(), textHeight());
        QCOMPARE(list.ItemRect(1).Top, textHeight());
    }
};

QTEST_MAIN(TCheckListPaintInputTest)
#include "checklst_paint_input_test.moc"
