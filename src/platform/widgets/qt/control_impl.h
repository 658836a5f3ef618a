#pragma once

// Only for the Qt implementation of the platform layer and for tests.

#include "platform/widgets/control.h"

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

struct TControlImpl {
    explicit TControlImpl(QWidget* widget) : Widget(widget) {}
    ~TControlImpl() { delete Widget.data(); }

    // Deleted with its parent widget when that goes first.
    QPointer<QWidget> Widget;
};

// The Qt widget behind a control.
inline QWidget* QtWidget(const TControl& control) {
    return control.Impl().Widget;
}
// The widget that a new child of parent goes into; none for a top-level window.
inline QWidget* ParentWidget(const TControl* parent) {
    return parent ? QtWidget(*parent) : nullptr;
}

// An assistive tool's action on a control, posted to the control's widget: the user's input by
// other means, so it waits with the rest of that input while a command runs.
class TAccessibleActionEvent : public QEvent {
public:
    explicit TAccessibleActionEvent(std::function<void()> action)
        : QEvent(EventType()), Action(std::move(action)) {}
    static QEvent::Type EventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    TAccessibleActionEvent* clone() const override { return new TAccessibleActionEvent(*this); }

    std::function<void()> Action;
};

QFont ToQFont(const TFont& font, const QFont& base);
// Text that is UTF-8 whatever the narrow encoding: the layer's own, and lines that a box shows
// because the narrow encoding cannot hold them.
inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
// Everything the program shows (its own texts, paths, messages that hold them) is bytes in the
// narrow encoding, the file names' own.
inline QString FromFileName(std::string_view data) {
    return QFile::decodeName(QByteArray(data.data(), static_cast<qsizetype>(data.size())));
}
inline std::string ToFileName(const QString& text) {
    return QFile::encodeName(text).toStdString();
}
inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
inline TRect ToTRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
