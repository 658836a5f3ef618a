#include "platform/widgets/check_box_drawing.h"

#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/canvas_impl.h"

TBitmapSize MeasureCheckBoxesBitmap() {
    HBITMAP sheet = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    if (sheet == nullptr) {
        return {};
    }
    BITMAP info{};
    GetObjectW(sheet, sizeof info, &info);
    DeleteObject(sheet);
    return {info.bmWidth, info.bmHeight};
}

bool DrawFrameControl(TCanvas& canvas, const TRect& rect, unsigned type, unsigned state) {
    if (type != DFC_BUTTON || (state != DFCS_BUTTONCHECK && state != DFCS_CHECKED &&
                               state != (DFCS_CHECKED | DFCS_BUTTON3STATE))) {
        return false;
    }
    // Drawn by the system at the window's DPI, in the box's size there.
    RECT box = canvas.Impl().Pixels(rect);
    return ::DrawFrameControl(canvas.Impl().ActiveDc(), &box, type, state) != FALSE;
}
