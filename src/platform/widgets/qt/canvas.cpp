#include "platform/widgets/canvas.h"

#include "platform/exceptions.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"

#include <QFontMetrics>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>

QFont TCanvasImpl::QtFont() const {
    return ToQFont(Font, Device ? Device->font() : QFont());
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
    const QFontMetrics metrics(ImplPtr->QtFont());
    return metrics.size(Qt::TextSingleLine, FromUtf8(text)).height();
}

void TCanvas::FillRect(const TRect& rect) {
    ImplPtr->ActivePainter().fillRect(ToQRect(rect), ImplPtr->Color(ImplPtr->BrushColor));
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    QPainter& painter = ImplPtr->ActivePainter();
    painter.setFont(ImplPtr->QtFont());
    painter.setPen(ImplPtr->Color(ImplPtr->FontColor));
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(x, y + metrics.ascent()), FromFileName(text));
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    QPainter& painter = ImplPtr->ActivePainter();
    QStyleOptionFocusRect option;
    option.initFrom(ImplPtr->Device);
    option.rect = ToQRect(rect);
    option.backgroundColor = ImplPtr->Color(ImplPtr->BrushColor);
    ImplPtr->Device->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter,
                                            ImplPtr->Device);
}
