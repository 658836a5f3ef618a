#pragma once

// Only for the Win32 implementation of the platform layer and for tests.

#include "platform/widgets/canvas.h"

#include "platform/widgets/win32/control_impl.h"

struct TCanvasImpl {
    explicit TCanvasImpl(const TControlImpl& device) : Device(device) {}

    // The font that the canvas's font names, on top of the device's, at the device's DPI.
    HFONT FontHandle(const TFont& font) const;
    // A rectangle in units, in the device's pixels.
    RECT Pixels(const TRect& rect) const;
    // Raises Exception while the device is not painting.
    HDC ActiveDc() const;

    // Whose font and DPI the canvas draws with.
    const TControlImpl& Device;
    // Set only while the device paints.
    HDC Dc = nullptr;
};

// Lends a device context to a canvas for the lifetime of this object.
class TCanvasPainting {
public:
    TCanvasPainting(TCanvas& canvas, HDC dc) : Impl(canvas.Impl()) { Impl.Dc = dc; }
    ~TCanvasPainting() { Impl.Dc = nullptr; }
    TCanvasPainting(const TCanvasPainting&) = delete;
    TCanvasPainting& operator=(const TCanvasPainting&) = delete;

private:
    TCanvasImpl& Impl;
};
