#include "platform/widgets/std_controls.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/control_impl.h"

#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

namespace {

// The enabled button of the window whose accelerator is the letter of key, pressed without Alt,
// Ctrl or Meta; none when there is no such button.
QAbstractButton* AcceleratedButton(const QWidget& widget, const QKeyEvent& key) {
    if ((key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != Qt::NoModifier) {
        return nullptr;
    }
    for (QAbstractButton* button : widget.window()->findChildren<QAbstractButton*>()) {
        const QKeySequence accelerator = QKeySequence::mnemonic(button->text());
        if (button->isVisible() && button->isEnabled() && !accelerator.isEmpty() &&
            accelerator[0].key() == key.key()) {
            return button;
        }
    }
    return nullptr;
}

// A push button takes no letters: while one has the focus, a letter presses the button whose
// accelerator it is, with Alt or without, as the dialogs of Windows have it.
class TButtonWidget : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (QAbstractButton* button = AcceleratedButton(*this, *event)) {
            // What Alt and the letter do: the focus moves there and the button shows pressed.
            button->setFocus(Qt::ShortcutFocusReason);
            button->animateClick();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

TPanel::TPanel(TControl* parent)
    : TControl(parent, std::make_unique<TControlImpl>(new QFrame(ParentWidget(parent)))) {}

TLabel::TLabel(TControl* parent)
    : TControl(parent, std::make_unique<TControlImpl>(new QLabel(ParentWidget(parent)))) {
    // A path is shown as it is, never read as markup.
    static_cast<QLabel*>(QtWidget(*this))->setTextFormat(Qt::PlainText);
}

std::string TLabel::Text() const {
    return ToFileName(static_cast<QLabel*>(QtWidget(*this))->text());
}

void TLabel::SetText(std::string_view text) {
    static_cast<QLabel*>(QtWidget(*this))->setText(FromFileName(text));
}

TButton::TButton(TControl* parent)
    : TControl(parent, std::make_unique<TControlImpl>(new TButtonWidget(ParentWidget(parent)))) {
    QObject::connect(static_cast<QPushButton*>(QtWidget(*this)), &QPushButton::clicked, [this] {
        if (OnClick) {
            GuardedCall([this] { OnClick(this); });
        }
    });
}

std::string TButton::Text() const {
    return ToFileName(static_cast<QPushButton*>(QtWidget(*this))->text());
}

void TButton::SetText(std::string_view text) {
    static_cast<QPushButton*>(QtWidget(*this))->setText(FromFileName(text));
}
