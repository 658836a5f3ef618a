#include "platform/widgets/control.h"

#include "platform/widgets/qt/control_impl.h"

QFont ToQFont(const TFont& font, const QFont& base) {
    QFont result = base;
    if (!font.Name.empty()) {
        result.setFamily(FromFileName(font.Name));
    }
    if (font.PixelHeight > 0) {
        result.setPixelSize(font.PixelHeight);
    }
    return result;
}

TControl::TControl(TControl* parent, std::unique_ptr<TControlImpl> impl)
    : ParentControl(parent), ImplPtr(std::move(impl)) {}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height) {
    QtWidget(*this)->setGeometry(left, top, width, height);
}

TRect TControl::BoundsRect() const {
    return ToTRect(QtWidget(*this)->geometry());
}

bool TControl::Enabled() const {
    return QtWidget(*this)->isEnabled();
}

void TControl::SetEnabled(bool enabled) {
    QtWidget(*this)->setEnabled(enabled);
}

std::string TControl::Text() const {
    return ToFileName(QtWidget(*this)->windowTitle());
}

void TControl::SetText(std::string_view text) {
    QtWidget(*this)->setWindowTitle(FromFileName(text));
}

void TControl::SetFocus() {
    QtWidget(*this)->setFocus(Qt::OtherFocusReason);
}

void TControl::SetFont(const TFont& font) {
    CurrentFont = font;
    QWidget* widget = QtWidget(*this);
    widget->setFont(ToQFont(font, widget->font()));
    CMFontChanged();
}

void TControl::Update() {
    QtWidget(*this)->repaint();
}
