#pragma once

// Only for the Qt implementation of the platform layer and for tests.

#include "platform/widgets/canvas.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointer>
#include <QWidget>

struct TCanvasImpl {
    explicit TCanvasImpl(QWidget* device) : Device(device) {}

    QFont QtFont(const TFont& font) const;
    QColor Color(TSysColor color) const;
    // Raises Exception while the device is not painting.
    QPainter& ActivePainter() const;

    // Whose style, palette and font the canvas draws with.
    QPointer<QWidget> Device;
    // Set only while the device paints.
    QPainter* Painter = nullptr;
};

// Lends a painter to a canvas for the lifetime of this object.
class TCanvasPainting {
public:
    TCanvasPainting(TCanvas& canvas, QPainter& painter) : Impl(canvas.Impl()) {
        Impl.Painter = &painter;
    }
    ~TCanvasPainting() { Impl.Painter = nullptr; }
    TCanvasPainting(const TCanvasPainting&) = delete;
    TCanvasPainting& operator=(const TCanvasPainting&) = delete;

private:
    TCanvasImpl& Impl;
};
