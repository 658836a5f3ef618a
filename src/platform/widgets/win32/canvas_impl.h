#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/widgets/canvas.h"

#include "platform/widgets/win32/control_impl.h"

#include <optional>
#include <utility>

struct TCanvasImpl {
    explicit TCanvasImpl(const TControlImpl& device) : Device(device) {}

    // The font that the canvas's font names, on top of the device's, at the device's DPI.
    HFONT FontHandle(const TFont& font) const;
    // A point or rectangle in units, in the device's pixels.
    POINT Pixels(int x, int y) const;
    RECT Pixels(const TRect& rect) const;
    // Raises Exception while the device is not painting.
    HDC ActiveDc() const;

    // Whose font and DPI the canvas draws with.
    const TControlImpl& Device;
    // Set only while the device paints.
    HDC Dc = nullptr;
    // While one row of a list paints: its place in units and in pixels. The row is drawn from
    // its own first pixel and ends at its own last, so that every row looks alike however its
    // place rounds.
    std::optional<std::pair<TRect, RECT>> Row;
};

// Lends a device context to a canvas for the lifetime of this object.
class TCanvasPainting {
public:
    TCanvasPainting(TCanvas& canvas, HDC dc) : Impl(canvas.Impl()) { Impl.Dc = dc; }
    // Lends it for one row, whose place in units is row and in pixels rowPixels.
    TCanvasPainting(TCanvas& canvas, HDC dc, const TRect& row, const RECT& rowPixels)
        : TCanvasPainting(canvas, dc) {
        Impl.Row.emplace(row, rowPixels);
    }
    ~TCanvasPainting() {
        Impl.Dc = nullptr;
        Impl.Row.reset();
    }
    TCanvasPainting(const TCanvasPainting&) = delete;
    TCanvasPainting& operator=(const TCanvasPainting&) = delete;

private:
    TCanvasImpl& Impl;
};
