#include "platform/widgets/check_box_drawing.h"

#include "platform/widgets/toolkit.h"
#include "platform/widgets/win32/canvas_impl.h"
#include "platform/widgets/win32/check_box_sheet.h"

namespace {
// OBM_CHECKBOXES, which windows.h names only where OEMRESOURCE is defined.
const WORD CheckBoxesSheet = 32759;
} // namespace

TCheckBoxSize CheckBoxOfSheet(int sheetWidth, int sheetHeight) {
    return {sheetWidth / 4, sheetHeight / 3};
}

TCheckBoxSize MeasureCheckBox() {
    HBITMAP sheet = LoadBitmapA(nullptr, MAKEINTRESOURCEA(CheckBoxesSheet));
    if (sheet == nullptr) {
        return {};
    }
    BITMAP info{};
    GetObjectW(sheet, sizeof info, &info);
    DeleteObject(sheet);
    return CheckBoxOfSheet(info.bmWidth, info.bmHeight);
}

void DrawCheckBox(TCanvas& canvas, const TRect& rect, TCheckBoxLook look) {
    const UINT state = look == TCheckBoxLook::Unchecked ? DFCS_BUTTONCHECK
                       : look == TCheckBoxLook::Checked ? DFCS_CHECKED
                                                        : DFCS_CHECKED | DFCS_BUTTON3STATE;
    // Drawn by the system at the window's DPI, in the box's size there.
    RECT box = canvas.Impl().Pixels(rect);
    DrawFrameControl(canvas.Impl().ActiveDc(), &box, DFC_BUTTON, state);
}
