#include "platform/widgets/check_box_drawing.h"

#include "platform/exceptions.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>

namespace {
std::optional<TBitmapSize>& Override() {
    static std::optional<TBitmapSize> size;
    return size;
}
} // namespace

TBitmapSize CheckBoxesBitmapSize() {
    if (Override()) {
        return *Override();
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        throw Exception("The check box pictures can only be measured once the application exists");
    }
    const QStyle* style = QApplication::style();
    return {4 * style->pixelMetric(QStyle::PM_IndicatorWidth),
            3 * style->pixelMetric(QStyle::PM_IndicatorHeight)};
}

bool DrawFrameControl(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state) {
    if (type != DFC_BUTTON) {
        return false;
    }
    QStyle::State look;
    switch (state) {
    case DFCS_BUTTONCHECK:
        look = QStyle::State_Off;
        break;
    case DFCS_CHECKED:
        look = QStyle::State_On;
        break;
    case DFCS_CHECKED | DFCS_BUTTON3STATE:
        look = QStyle::State_NoChange;
        break;
    default:
        return false;
    }
    const TCanvasImpl& impl = canvas.Impl();
    QPainter& painter = impl.ActivePainter();
    QStyleOptionButton option;
    option.initFrom(impl.Device);
    option.rect = ToQRect(rect);
    // The box shows its state only: not the focus, hover or enabled state of the control.
    option.state = QStyle::State_Enabled | look;
    impl.Device->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter,
                                        impl.Device);
    return true;
}

void OverrideCheckBoxesBitmapSize(std::optional<TBitmapSize> size) {
    Override() = size;
}
