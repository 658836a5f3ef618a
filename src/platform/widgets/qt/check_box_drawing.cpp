#include "platform/widgets/check_box_drawing.h"

#include "platform/exceptions.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>

TCheckBoxSize MeasureCheckBox() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        throw Exception("The check box can only be measured once the application exists");
    }
    const QStyle* style = QApplication::style();
    return {style->pixelMetric(QStyle::PM_IndicatorWidth),
            style->pixelMetric(QStyle::PM_IndicatorHeight)};
}

void DrawCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxLook look) {
    const QStyle::State state = look == TCheckBoxLook::Unchecked ? QStyle::State_Off
                                : look == TCheckBoxLook::Checked ? QStyle::State_On
                                                                 : QStyle::State_NoChange;
    const TCanvasImpl& impl = canvas.Impl();
    QPainter& painter = impl.ActivePainter();
    QStyleOptionButton option;
    option.initFrom(impl.Device);
    option.rect = ToQRect(rect);
    // The box shows its state only: not the focus, hover or enabled state of the control.
    option.state = QStyle::State_Enabled | state;
    impl.Device->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter,
                                        impl.Device);
}
