#include "platform/widgets/check_box_drawing.h"

#include "platform/exceptions.h"
#include "platform/widgets/qt/canvas_impl.h"

#include <QImage>
#include <QTest>

class TCheckBoxDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void threeLooksAreDistinctAndOtherStatesDrawNothing() {
        QWidget device;
        TCanvas canvas(std::make_unique<TCanvasImpl>(&device));
        QImage blank(20, 20, QImage::Format_ARGB32);
        blank.fill(Qt::white);
        auto look = [&](unsigned type, unsigned state, bool expectDrawn) {
            QImage image = blank;
            QPainter painter(&image);
            const TCanvasPainting painting(canvas, painter);
            const bool drawn = DrawFrameControl(canvas, {3, 3, 16, 16}, type, state);
            painter.end();
            if (drawn != expectDrawn) {
                qWarning("type %u state %#x: drawn %d", type, state, drawn);
                return QImage();
            }
            return image;
        };
        const QImage empty = look(DFC_BUTTON, DFCS_BUTTONCHECK, true);
        const QImage checked = look(DFC_BUTTON, DFCS_CHECKED, true);
        const QImage grayed = look(DFC_BUTTON, DFCS_CHECKED | DFCS_BUTTON3STATE, true);
        QVERIFY(!empty.isNull() && !checked.isNull() && !grayed.isNull());
        QVERIFY(empty != blank);
        QVERIFY(checked != empty);
        QVERIFY(grayed != empty);
        QVERIFY(grayed != checked);

        QCOMPARE(look(DFC_BUTTON, DFCS_BUTTON3STATE, false), blank);
        QCOMPARE(look(DFC_BUTTON + 1, DFCS_CHECKED, false), blank);
    }

    void canvasMeasuresAnytimeButDrawsOnlyWhilePainting() {
        QWidget device;
        TCanvas canvas(std::make_unique<TCanvasImpl>(&device));
        canvas.SetFont({"", 40});
        QVERIFY(canvas.TextHeight("Wg") >= 40);
        QVERIFY_THROWS_EXCEPTION(Exception, canvas.FillRect({0, 0, 5, 5}));
        QVERIFY_THROWS_EXCEPTION(
            Exception, DrawFrameControl(canvas, {0, 0, 13, 13}, DFC_BUTTON, DFCS_CHECKED));
    }
};

QTEST_MAIN(TCheckBoxDrawingTest)
#include "check_box_drawing_test.moc"
