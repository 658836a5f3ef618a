#include "platform/widgets/canvas.h"

#include "platform/exceptions.h"
#include "platform/widgets/win32/canvas_impl.h"

namespace {

int SysColorIndex(TSysColor color) {
    switch (color) {
    case TSysColor::Window:
        return COLOR_WINDOW;
    case TSysColor::WindowText:
        return COLOR_WINDOWTEXT;
    case TSysColor::Highlight:
        return COLOR_HIGHLIGHT;
    case TSysColor::HighlightText:
        return COLOR_HIGHLIGHTTEXT;
    }
    return COLOR_WINDOW;
}

// Selects a font into a device context for the lifetime of this object.
class TSelectedFont {
public:
    TSelectedFont(HDC dc, HFONT font) : Dc(dc), Previous(SelectObject(dc, font)) {}
    ~TSelectedFont() { SelectObject(Dc, Previous); }
    TSelectedFont(const TSelectedFont&) = delete;
    TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
    HDC Dc;
    HGDIOBJ Previous;
};

} // namespace

HFONT TCanvasImpl::FontHandle(const TFont& font) const {
    return ::FontHandle(MergedFont(font, Device.FontSpec.value_or(TFont{})), Device.Dpi);
}

POINT TCanvasImpl::Pixels(int x, int y) const {
    if (!Row) {
        return {ToPixels(x, Device.Dpi), ToPixels(y, Device.Dpi)};
    }
    const auto& [units, pixels] = *Row;
    return {x == units.Right ? pixels.right : pixels.left + ToPixels(x - units.Left, Device.Dpi),
            y == units.Bottom ? pixels.bottom : pixels.top + ToPixels(y - units.Top, Device.Dpi)};
}

RECT TCanvasImpl::Pixels(const TRect& rect) const {
    const POINT topLeft = Pixels(rect.Left, rect.Top),
                bottomRight = Pixels(rect.Right, rect.Bottom);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

HDC TCanvasImpl::ActiveDc() const {
    if (Dc == nullptr) {
        throw Exception("The canvas can only be drawn on while its control paints");
    }
    return Dc;
}

// Made and ended here, where the toolkit's part of a canvas is a complete type.
TCanvas::TCanvas(std::unique_ptr<TCanvasImpl> impl) : ImplPtr(std::move(impl)) {}

TCanvas::~TCanvas() = default;

int TCanvas::TextHeight(std::string_view text) const {
    HDC dc = ImplPtr->Dc ? ImplPtr->Dc : GetDC(nullptr);
    SIZE size{};
    {
        const TSelectedFont selected(dc, ImplPtr->FontHandle(Font()));
        const std::wstring wide = AnsiText(text);
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    }
    if (ImplPtr->Dc == nullptr) {
        ReleaseDC(nullptr, dc);
    }
    return ToUnits(size.cy, ImplPtr->Device.Dpi);
}

void TCanvas::FillRect(const TRect& rect) {
    const RECT area = ImplPtr->Pixels(rect);
    ::FillRect(ImplPtr->ActiveDc(), &area, GetSysColorBrush(SysColorIndex(BrushColor())));
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    HDC dc = ImplPtr->ActiveDc();
    const TSelectedFont selected(dc, ImplPtr->FontHandle(Font()));
    SetTextColor(dc, GetSysColor(SysColorIndex(FontColor())));
    SetBkMode(dc, TRANSPARENT);
    // Data bytes in the system's code page, as they stand.
    const POINT at = ImplPtr->Pixels(x, y);
    TextOutA(dc, at.x, at.y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    const RECT area = ImplPtr->Pixels(rect);
    ::DrawFocusRect(ImplPtr->ActiveDc(), &area);
}
