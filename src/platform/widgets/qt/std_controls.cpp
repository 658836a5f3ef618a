#include "platform/widgets/std_controls.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/control_impl.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

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
    : TControl(parent, std::make_unique<TControlImpl>(new QPushButton(ParentWidget(parent)))) {
    QObject::connect(static_cast<QPushButton*>(QtWidget(*this)), &QPushButton::clicked, [this] {
        if (OnClick) {
            GuardedCall([this] { OnClick(this); });
        }
    });
}

std::string TButton::Text() const {
    return static_cast<QPushButton*>(QtWidget(*this))->text().toStdString();
}

void TButton::SetText(std::string_view text) {
    static_cast<QPushButton*>(QtWidget(*this))->setText(FromUtf8(text));
}
