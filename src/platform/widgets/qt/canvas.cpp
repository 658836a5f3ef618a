#include "platform/widgets/canvas.h"

#include "platform/exceptions.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"

#include <QFontMetrics>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>

QFont TCanvasImpl::QtFont(const TFont& font) const {
    return ToQFont(font, Device ? Device->font() : QFont());
}

QColor TCanvasImpl::Color(TSysColor color) const {
    const QPalette palette = Device ? Device->palette() : QPalette();
    QPalette::ColorGroup group = QPalette::Active;
    if (Device && !Device->isEnabled()) {
        group = QPalette::Disabled;
    } else if (Device && !Device->isActiveWindow()) {
        group = QPalette::Inactive;
    }
    switch (color) {
    case TSysColor::Window:
        return palette.color(group, QPalette::Base);
    case TSysColor::WindowText:
        return palette.color(group, QPalette::Text);
    case TSysColor::Highlight:
        return palette.color(group, QPalette::Highlight);
    case TSysColor::HighlightText:
        return palette.color(group, QPalette::HighlightedText);
    }
    return palette.color(group, QPalette::Base);
}

QPainter& TCanvasImpl::ActivePainter() const {
    if (Painter == nullptr || Device == nullptr) {
        throw Exception("The canvas can only be drawn on while its control paints");
    }
    return *Painter;
}

// Made and ended here, where the toolkit's part of a canvas is a complete type.
TCanvas::TCanvas(std::unique_ptr<TCanvasImpl> impl) : ImplPtr(std::move(impl)) {}

TCanvas::~TCanvas() = default;

int TCanvas::TextHeight(std::string_view text) const {
    const QFontMetrics metrics(ImplPtr->QtFont(Font()));
    return metrics.size(Qt::TextSingleLine, FromFileName(text)).height();
}

void TCanvas::FillRect(const TRect& rect) {
    ImplPtr->ActivePainter().fillRect(ToQRect(rect), ImplPtr->Color(BrushColor()));
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    QPainter& painter = ImplPtr->ActivePainter();
    painter.setFont(ImplPtr->QtFont(Font()));
    painter.setPen(ImplPtr->Color(FontColor()));
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(x, y + metrics.ascent()), FromFileName(text));
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    QPainter& painter = ImplPtr->ActivePainter();
    QStyleOptionFocusRect option;
    option.initFrom(ImplPtr->Device);
    option.rect = ToQRect(rect);
    option.backgroundColor = ImplPtr->Color(BrushColor());
    ImplPtr->Device->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter,
                                            ImplPtr->Device);
}
