#include "platform/widgets/form.h"

#include "platform/widgets/application.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/toolkit.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace {

const QEvent::Type PostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TPostedMessage : public QEvent {
public:
    explicit TPostedMessage(const TMessage& message)
        : QEvent(PostedMessageEvent), Message(message) {}
    TMessage Message;
};

// A dialog-like frame: title and Close button only.
const Qt::WindowFlags FormFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

} // namespace

struct TFormAccess {
    static bool CloseAllowed(const TForm& form) { return form.CloseAllowed; }
    static TControl* Active(const TForm& form) { return form.Active; }
};

namespace {

class TFormWidget : public QWidget {
public:
    explicit TFormWidget(TForm& form) : QWidget(nullptr, FormFlags), Form(form) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == PostedMessageEvent) {
            Held.Deliver(Form, static_cast<TPostedMessage*>(event)->Message);
            return true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        for (const TMessage& message : Held.Painted()) {
            QCoreApplication::postEvent(this, new TPostedMessage(message));
        }
    }

    void closeEvent(QCloseEvent* event) override {
        if (TFormAccess::CloseAllowed(Form) && (!Form.OnCloseQuery || Form.OnCloseQuery())) {
            event->accept();
        } else {
            event->ignore();
        }
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        if (TPopupMenu* menu = Form.AssignedPopupMenu()) {
            menu->Popup(event->globalPos().x(), event->globalPos().y());
            event->accept();
        }
    }

    // Shift+F10 is the menu key of keyboards without one, as on Windows; Qt leaves it to the
    // program. The menu opens at the control that has the focus.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::ShiftModifier) {
            QWidget::keyPressEvent(event);
            return;
        }
        const QWidget* focus = focusWidget() ? focusWidget() : this;
        const QPoint at = focus->mapToGlobal(QPoint(0, 0));
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, focus->mapTo(this, QPoint(0, 0)), at);
        contextMenuEvent(&menu);
    }

    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        if (TControl* active = TFormAccess::Active(Form)) {
            active->SetFocus();
        }
    }

private:
    TForm& Form;
    THeldMessages Held;
};

} // namespace

TForm::TForm() : TControl(nullptr, std::make_unique<TControlImpl>(new TFormWidget(*this))) {
    QtWidget(*this)->setAttribute(Qt::WA_DeleteOnClose, false);
}

TForm::~TForm() = default;

void TForm::SetClientSize(int width, int height) {
    QtWidget(*this)->resize(width, height);
}

void TForm::SetBorderStyle(TBorderStyle style) {
    QWidget* widget = QtWidget(*this);
    if (style == TBorderStyle::Dialog) {
        widget->setFixedSize(widget->size());
    } else {
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TForm::SetFocusChain(std::initializer_list<TControl*> chain) {
    const TControl* previous = nullptr;
    for (const TControl* control : chain) {
        if (previous) {
            QWidget::setTabOrder(QtWidget(*previous), QtWidget(*control));
        }
        previous = control;
    }
}

void TForm::Show() {
    QWidget* widget = QtWidget(*this);
    if (Placement == TPosition::ScreenCenter && widget->screen()) {
        QRect frame = widget->frameGeometry();
        frame.moveCenter(widget->screen()->availableGeometry().center());
        widget->move(frame.topLeft());
    }
    widget->show();
}

void TForm::Close() {
    QtWidget(*this)->close();
}

void TForm::RefuseSessionEnd(const std::string& reason) {
    SessionEndRefused = !reason.empty();
}

// Qt cannot grey the frame's Close button without making the window anew, which hides it, may
// move it and takes its keyboard focus: the button stays, and closeEvent refuses.
void TForm::SetCloseCommandEnabled(bool enabled, const std::string& /*reason*/) {
    CloseAllowed = enabled;
}

void TForm::Post(unsigned msg) {
    QCoreApplication::postEvent(QtWidget(*this), new TPostedMessage(TMessage{msg}));
}
