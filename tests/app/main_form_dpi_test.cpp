// The main window at the scales of today's screens (Windows): every size of the design is given
// in 96-DPI units and shown in the pixels of the window's DPI.
//
// This source is built twice. In app_tests it runs in the tests' Wine prefix, at 96 DPI; in
// app_dpi_tests it runs in a prefix of its own whose display is set to 144 DPI. Wine reads the
// system's DPI from the prefix's registry once, as each program starts, so the other test
// programs, which start at the same time in the tests' prefix, would pick up any value set
// there meanwhile: the scaled programs get a prefix, a wine server and a display of their own.
// In both, the window is then moved to the other scales by the message that Windows sends when
// it moves to a monitor of another scale, which Wine itself never sends.
#include "program_fixture.h"

#include "platform/widgets/win32/control_impl.h"
#include "platform/widgets/win32/dpi.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Rows are as high as the text of the window's font, as the list measures it at 96 DPI.
const int RowHeightAt96 = 13;

int Scaled(int units, UINT dpi) {
    return MulDiv(units, static_cast<int>(dpi), 96);
}

// The control's place in its parent's client area, in pixels.
RECT PixelBounds(const TControl& control) {
    RECT rect{};
    GetWindowRect(WindowOf(control), &rect);
    MapWindowPoints(nullptr, GetParent(WindowOf(control)), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Pages whose rows look alike but for the shape of a digit.
const int Pages = 12;

class MainFormDpiTest : public TProgramTest {
protected:
    TMainForm* StartWithPages() {
        for (int page = 10; page < 10 + Pages; ++page) {
            Dir.Write("site/p" + std::to_string(page) + ".html", "<p>");
        }
        Configure(Path("site/"));
        return StartAndScan();
    }

    // The window as the design lays it out, in the pixels of dpi, to a pixel.
    static void ExpectLaidOutAt(const TMainForm& form, UINT dpi) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
        RECT client{};
        GetClientRect(WindowOf(form), &client);
        EXPECT_NEAR(client.right, Scaled(592, dpi), 1);
        EXPECT_NEAR(client.bottom, Scaled(229, dpi), 1);
        const std::vector<const TControl*> controls{form.Panel1.get(), form.LStatus.get(),
                                                    form.BClose.get(), form.BExecLint.get(),
                                                    form.CLBLintFile.get()};
        for (const TControl* control : controls) {
            const TRect units = control->BoundsRect();
            const RECT pixels = PixelBounds(*control);
            EXPECT_NEAR(pixels.left, Scaled(units.Left, dpi), 1);
            EXPECT_NEAR(pixels.top, Scaled(units.Top, dpi), 1);
            EXPECT_NEAR(pixels.right - pixels.left, Scaled(units.Width(), dpi), 1);
            EXPECT_NEAR(pixels.bottom - pixels.top, Scaled(units.Height(), dpi), 1);
            if (control == form.Panel1.get()) {
                continue;
            }
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(WindowOf(*control), WM_GETFONT, 0, 0)),
                       sizeof font, &font);
            EXPECT_EQ(font.lfHeight, -Scaled(12, dpi));
        }
        // The units of the design stay as they are.
        EXPECT_EQ(form.LStatus->BoundsRect(), (TRect{8, 10, 425, 22}));
        const int rowHeight = form.CLBLintFile->ItemHeight();
        EXPECT_EQ(rowHeight, RowHeightAt96);
        HWND list = WindowOf(*form.CLBLintFile);
        EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), Scaled(rowHeight, dpi));
        // The first row's check box, drawn by the system in the check column. The picture
        // fills the box but for its light outer edge, lost on the white of the list.
        const TImage rows = Grab(*form.CLBLintFile);
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        const std::uint32_t white =
            GetRValue(window) << 16 | GetGValue(window) << 8 | GetBValue(window);
        const int row = Scaled(rowHeight, dpi);
        const int checkColumn = Scaled(form.CLBLintFile->CheckColumnWidth(), dpi);
        const TRect box = rows.Part({0, 0, checkColumn, row}).Bounds(white);
        EXPECT_NEAR(box.Width(), Scaled(CheckBoxWidth(), dpi), Scaled(2, dpi));
        // Every row is drawn alike, its box and its text in the same place within it, however
        // its place rounds. The first row is the current one, in the selection's colours.
        const TRect text = rows.Part({checkColumn, row, rows.Width, 2 * row}).Bounds(white);
        for (int i = 1; i < std::min(Pages, rows.Height / row); ++i) {
            EXPECT_EQ(rows.Part({0, i * row, checkColumn, (i + 1) * row}).Bounds(white), box)
                << "the check box of row " << i;
            const TRect itsText =
                rows.Part({checkColumn, i * row, rows.Width, (i + 1) * row}).Bounds(white);
            EXPECT_EQ(itsText.Top, text.Top) << "the text of row " << i;
            EXPECT_EQ(itsText.Bottom, text.Bottom) << "the text of row " << i;
        }
    }

    // What Windows sends a window that has moved to a monitor of dpi: where it suggests to put
    // it, here a place whose client area is the window's own at that DPI. The frame is the one
    // that Wine draws, at the system's DPI whatever the message says. Returns the DPI that the
    // window is shown at: that one, or where the window does not fit the screen there, the
    // largest that fits, with the whole window on the screen.
    static UINT MoveToDpi(TMainForm& form, UINT dpi) {
        HWND window = WindowOf(form);
        RECT frame{};
        GetWindowRect(window, &frame);
        RECT suggested{0, 0, Scaled(592, dpi), Scaled(229, dpi)};
        AdjustWindowRectEx(&suggested, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                           FALSE, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
        OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        ProcessEvents();
        RECT placed{};
        GetWindowRect(window, &placed);
        const UINT shown = form.Impl().Dpi;
        if (shown == dpi) {
            EXPECT_TRUE(EqualRect(&placed, &suggested)) << "the window takes the suggested place";
            return shown;
        }
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        RECT inside{};
        IntersectRect(&inside, &placed, &work);
        EXPECT_TRUE(EqualRect(&inside, &placed)) << "the window lies in the work area at " << dpi;
        EXPECT_GT(placed.right - placed.left, (work.right - work.left) * 9 / 10)
            << "no smaller than it takes at " << dpi;
        return shown;
    }
};

TEST_F(MainFormDpiTest, TheWindowStartsAtTheScaleOfTheSystem) {
    ASSERT_EQ(SystemDpi(), static_cast<UINT>(TEST_SYSTEM_DPI)) << "the prefix's display";
    TMainForm* form = StartWithPages();
    ExpectLaidOutAt(*form, TEST_SYSTEM_DPI);
}

// The screen of 1280 by 1024 holds the window at 192 DPI but not at 288, where it moves to fit.
// The mouse pointer, which an earlier test may have left where the window lies, is kept off it:
// a button under it looks otherwise.
TEST_F(MainFormDpiTest, AMoveToAnotherScaleLaysTheWindowOutAgainAndBackPixelForPixel) {
    SetCursorPos(0, 0);
    ASSERT_TRUE(WaitFor([] {
        POINT now{};
        return GetCursorPos(&now) && now.x == 0 && now.y == 0;
    }));
    TMainForm* form = StartWithPages();
    const TImage list = Grab(*form->CLBLintFile), strip = Grab(*form->Panel1);
    for (const UINT dpi : {96u, 120u, 144u, 168u, 192u, 288u}) {
        const UINT shown = MoveToDpi(*form, dpi);
        EXPECT_EQ(shown < dpi, dpi == 288u) << dpi;
        ExpectLaidOutAt(*form, shown);
    }
    MoveToDpi(*form, TEST_SYSTEM_DPI);
    EXPECT_EQ(Grab(*form->CLBLintFile), list);
    EXPECT_EQ(Grab(*form->Panel1), strip);
}

} // namespace
