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

HFONT TCanvasImpl::FontHandle() const {
    return ::FontHandle(Font, Device.Font);
}

HDC TCanvasImpl::ActiveDc() const {
    if (Dc == nullptr) {
        throw Exception("The canvas can only be drawn on while its control paints");
    }
    return Dc;
}

TCanvas::TCanvas(std::unique_ptr<TCanvasImpl> impl) : ImplPtr(std::move(impl)) {}

TCanvas::~TCanvas() = default;

const TFont& TCanvas::Font() const {
    return ImplPtr->Font;
}

void TCanvas::SetFont(const TFont& font) {
    ImplPtr->Font = font;
}

void TCanvas::SetBrushColor(TSysColor color) {
    ImplPtr->BrushColor = color;
}

void TCanvas::SetFontColor(TSysColor color) {
    ImplPtr->FontColor = color;
}

int TCanvas::TextHeight(std::string_view text) const {
    HDC dc = ImplPtr->Dc ? ImplPtr->Dc : GetDC(nullptr);
    SIZE size{};
    {
        const TSelectedFont selected(dc, ImplPtr->FontHandle());
        const std::wstring wide = DisplayText(text);
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    }
    if (ImplPtr->Dc == nullptr) {
        ReleaseDC(nullptr, dc);
    }
    return size.cy;
}

void TCanvas::FillRect(const TRect& rect) {
    const RECT area = ToRECT(rect);
    ::FillRect(ImplPtr->ActiveDc(), &area, GetSysColorBrush(SysColorIndex(ImplPtr->BrushColor)));
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    HDC dc = ImplPtr->ActiveDc();
    const TSelectedFont selected(dc, ImplPtr->FontHandle());
    SetTextColor(dc, GetSysColor(SysColorIndex(ImplPtr->FontColor)));
    SetBkMode(dc, TRANSPARENT);
    // Data bytes in the system's code page, as they stand.
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    const RECT area = ToRECT(rect);
    ::DrawFocusRect(ImplPtr->ActiveDc(), &area);
}
