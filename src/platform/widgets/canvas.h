#pragma once

#include "platform/widgets/types.h"

#include <memory>
#include <string_view>

struct TCanvasImpl; // the toolkit's painter and device behind a canvas

// The colours of the desktop's colour scheme that a control paints with.
enum class TSysColor { Window, WindowText, Highlight, HighlightText };

// The drawing surface of a control. Text can be measured at any time; drawing works only while
// the control paints.
class TCanvas {
public:
    explicit TCanvas(std::unique_ptr<TCanvasImpl> impl);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    const TFont& Font() const { return TextFont; }
    void SetFont(const TFont& font) { TextFont = font; }
    // What FillRect fills with.
    TSysColor BrushColor() const { return Brush; }
    void SetBrushColor(TSysColor color) { Brush = color; }
    // What TextOut writes with.
    TSysColor FontColor() const { return TextColor; }
    void SetFontColor(TSysColor color) { TextColor = color; }

    // Height in pixels of text written in the canvas's font.
    int TextHeight(std::string_view text) const;

    // Raise Exception when the control is not painting.
    void FillRect(const TRect& rect);
    // Writes data bytes (shown through the file-name decoding) with their top left at (x, y).
    void TextOut(int x, int y, std::string_view text);
    void DrawFocusRect(const TRect& rect);

    TCanvasImpl& Impl() const { return *ImplPtr; }

private:
    std::unique_ptr<TCanvasImpl> ImplPtr;
    TFont TextFont;
    TSysColor Brush = TSysColor::Window;
    TSysColor TextColor = TSysColor::WindowText;
};
