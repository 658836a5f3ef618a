#include "support/gui_driver.h"

#include "platform/widgets/application.h"
#include "platform/widgets/qt/canvas_impl.h"
#include "platform/widgets/qt/control_impl.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>

// Input arrives through Qt Test, as events from the window system would.

namespace {

// Where a control's client area is painted and clicked: a list box's viewport.
QWidget* ClientWidget(const TControl& control) {
    QWidget* widget = QtWidget(control);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        return area->viewport();
    }
    return widget;
}

Qt::MouseButton QtButton(TMouseButton button) {
    switch (button) {
    case TMouseButton::Left:
        break;
    case TMouseButton::Right:
        return Qt::RightButton;
    case TMouseButton::Middle:
        return Qt::MiddleButton;
    }
    return Qt::LeftButton;
}

Qt::Key QtKey(TKey key) {
    switch (key) {
    case TKey::Space:
        return Qt::Key_Space;
    case TKey::Tab:
        return Qt::Key_Tab;
    case TKey::Escape:
        return Qt::Key_Escape;
    case TKey::Enter:
        return Qt::Key_Return;
    case TKey::Up:
        return Qt::Key_Up;
    case TKey::Down:
        return Qt::Key_Down;
    case TKey::Right:
        return Qt::Key_Right;
    case TKey::PageUp:
        return Qt::Key_PageUp;
    case TKey::Home:
        return Qt::Key_Home;
    case TKey::End:
        return Qt::Key_End;
    case TKey::F4:
        return Qt::Key_F4;
    }
    return Qt::Key_unknown;
}

TImage ToImage(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    TImage image;
    image.Width = rgb.width();
    image.Height = rgb.height();
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            image.Pixels.push_back(rgb.pixel(x, y) & 0xFFFFFFu);
        }
    }
    return image;
}

} // namespace

void ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

void RunSoon(std::function<void()> action) {
    QTimer::singleShot(0, std::move(action));
}

// Shown and active, as a desktop makes a window that opens.
void ShowAndWait(TForm& form) {
    QWidget* window = QtWidget(form);
    form.Show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        qWarning("The window did not show");
    }
    ProcessEvents();
}

bool IsShown(const TForm& form) {
    return QtWidget(form)->isVisible();
}

void Minimise(TForm& form) {
    QtWidget(form)->showMinimized();
    ProcessEvents();
}

bool IsInFront(const TForm& form) {
    return QApplication::activeWindow() == QtWidget(form) && !QtWidget(form)->isMinimized();
}

bool IsResizable(const TForm& form) {
    const QWidget* window = QtWidget(form);
    return window->minimumSize() != window->maximumSize();
}

// Qt cannot grey the frame's Close box without making the window anew.
std::optional<bool> CloseBoxGreyed(const TForm&) {
    return std::nullopt;
}

std::optional<bool> SessionEndAllowed(TForm&) {
    return std::nullopt;
}

bool HasFocus(const TControl& control) {
    return QApplication::focusWidget() == QtWidget(control);
}

std::string ShownText(const TControl& control) {
    const QWidget* widget = QtWidget(control);
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text().toStdString();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().toStdString();
    }
    return widget->windowTitle().toStdString();
}

void Click(TControl& control, TMouseButton button, TPoint at) {
    QTest::mouseClick(ClientWidget(control), QtButton(button), {}, QPoint(at.X, at.Y));
}

void Click(TControl& control) {
    QTest::mouseClick(ClientWidget(control), Qt::LeftButton);
}

// Through the window, as the desktop delivers it: Qt makes the second press a double click.
void DoubleClick(TControl& control, TPoint at) {
    QWidget* window = ClientWidget(control)->window();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       ClientWidget(control)->mapTo(window, QPoint(at.X, at.Y)));
}

void PressKey(TControl& control, TKey key, TShiftState shift) {
    QTest::keyClick(QtWidget(control), QtKey(key),
                    (shift & ssAlt) ? Qt::AltModifier : Qt::NoModifier);
}

void TypeText(TControl& control, const std::string& text) {
    QTest::keyClicks(QtWidget(control), QString::fromStdString(text));
}

// A button's accelerator shows the button pressed for a moment before it clicks.
void PressAltLetter(TControl& control, char letter) {
    QWidget* widget = QtWidget(control);
    QTest::keyClick(widget, letter, Qt::AltModifier);
    WaitFor([window = widget->window()] {
        const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
        return std::none_of(buttons.begin(), buttons.end(),
                            [](const QAbstractButton* button) { return button->isDown(); });
    });
}

void TryToClose(TForm& form) {
    QWidget* window = QtWidget(form);
    QCloseEvent byFrame;
    QApplication::sendEvent(window, &byFrame);
    QTest::keyClick(window, Qt::Key_F4, Qt::AltModifier);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && window->isAncestorOf(focus) ? focus : window, Qt::Key_Escape);
}

struct TPopupMenus::TImpl {
    QStringList Left;
    QPointer<QMenu> Answered;
    QTimer Chooser;
};

// Each menu that opens gets the next caption's entry chosen, as with the keyboard; a menu for
// which no caption is left is closed.
TPopupMenus::TPopupMenus(TForm& /*form*/, std::vector<std::string> captions)
    : Impl(std::make_unique<TImpl>()) {
    for (const std::string& caption : captions) {
        Impl->Left << QString::fromStdString(caption);
    }
    QObject::connect(&Impl->Chooser, &QTimer::timeout, [this] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !menu->isVisible() || menu == Impl->Answered) {
            return;
        }
        Impl->Answered = menu;
        if (OnOpen && qobject_cast<QMenu*>(menu->parentWidget()) == nullptr) {
            OnOpen();
        }
        const QString caption = Impl->Left.isEmpty() ? QString() : Impl->Left.takeFirst();
        for (QAction* action : menu->actions()) {
            if (!caption.isEmpty() && action->text() == caption) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
    });
    Impl->Chooser.start(5);
}

TPopupMenus::~TPopupMenus() = default;

void ChoosePopupCommand(TForm& form, TControl& control, TPoint at,
                        const std::vector<std::string>& captions, bool byMenuKey) {
    TPopupMenus menus(form, captions);
    QWidget* target = ClientWidget(control);
    if (byMenuKey) {
        QWidget* focus = QtWidget(control);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                focus->mapToGlobal(QPoint(0, 0)));
        QApplication::sendEvent(focus, &event);
    } else {
        const QPoint point(at.X, at.Y);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, target->mapToGlobal(point));
        QApplication::sendEvent(target, &event);
    }
}

// Through the window system's queue, as the desktop hands over a user's input: an event loop
// that leaves out the user's input leaves it there.
void QueueClick(TControl& control, TMouseButton button, TPoint at) {
    QWidget* target = ClientWidget(control);
    QWindow* window = target->window()->windowHandle();
    const QPointF local = target->mapTo(target->window(), QPoint(at.X, at.Y));
    const QPointF global = target->mapToGlobal(QPoint(at.X, at.Y));
    const Qt::MouseButton pressed = QtButton(button);
    using Queue = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Queue>(window, local, global, pressed, pressed,
                                                    QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Queue>(window, local, global, Qt::NoButton, pressed,
                                                    QEvent::MouseButtonRelease);
}

// The key, and the context menu that the window system makes of it.
void QueueMenuKey(TForm& form) {
    QWindow* window = QtWidget(form)->windowHandle();
    using Queue = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleKeyEvent<Queue>(window, QEvent::KeyPress, Qt::Key_Menu,
                                                  Qt::NoModifier);
    QWindowSystemInterface::handleContextMenuEvent(window, false, {}, {}, Qt::NoModifier);
    QWindowSystemInterface::handleKeyEvent<Queue>(window, QEvent::KeyRelease, Qt::Key_Menu,
                                                  Qt::NoModifier);
}

void QueueKey(TForm& form, TKey key) {
    QWindow* window = QtWidget(form)->windowHandle();
    using Queue = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleKeyEvent<Queue>(window, QEvent::KeyPress, QtKey(key),
                                                  Qt::NoModifier);
    QWindowSystemInterface::handleKeyEvent<Queue>(window, QEvent::KeyRelease, QtKey(key),
                                                  Qt::NoModifier);
}

void QueueCloseKey(TForm& form) {
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        QtWidget(form)->windowHandle());
}

void AskForPaint(TControl& control) {
    ClientWidget(control)->update();
}

TRect ClientRect(const TControl& control) {
    return ToTRect(ClientWidget(control)->rect());
}

void Repaint(TControl& control) {
    ClientWidget(control)->repaint();
}

TImage Grab(TControl& control) {
    return ToImage(ClientWidget(control)->grab().toImage());
}

struct TPaintLog::TImpl : QObject {
    explicit TImpl(TPaintLog& log) : Log(log) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Log.Rects.push_back(ToTRect(static_cast<QPaintEvent*>(event)->rect()));
            if (Log.OnPaint) {
                Log.OnPaint();
            }
        }
        return false;
    }
    TPaintLog& Log;
};

TPaintLog::TPaintLog(TControl& control) : Impl(std::make_unique<TImpl>(*this)) {
    ClientWidget(control)->installEventFilter(Impl.get());
}

TPaintLog::~TPaintLog() = default;

struct TOffscreenCanvas::TImpl {
    TImpl(int width, int height) : Picture(width, height, QImage::Format_RGB32) {
        Picture.fill(Qt::white);
        Painter.begin(&Picture);
        Canvas = std::make_unique<TCanvas>(std::make_unique<TCanvasImpl>(&Device));
        Canvas->Impl().Painter = &Painter;
    }
    QWidget Device; // whose style and palette the canvas draws with
    QImage Picture;
    QPainter Painter;
    std::unique_ptr<TCanvas> Canvas;
};

TOffscreenCanvas::TOffscreenCanvas(int width, int height)
    : Impl(std::make_unique<TImpl>(width, height)) {}

TOffscreenCanvas::~TOffscreenCanvas() = default;

TCanvas& TOffscreenCanvas::Canvas() {
    return *Impl->Canvas;
}

TImage TOffscreenCanvas::Image() const {
    return ToImage(Impl->Picture);
}

struct TMessageBoxes::TImpl {
    QTimer Timer;
};

TMessageBoxes::TMessageBoxes(TAnswer answer) : Answer(answer), Impl(std::make_unique<TImpl>()) {
    QObject::connect(&Impl->Timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        Texts.push_back(box->text().toStdString());
        if (OnBox) {
            OnBox(Texts.back());
        }
        const auto wanted = Answer == Retry    ? QMessageBox::Retry
                            : Answer == Cancel ? QMessageBox::Cancel
                            : Answer == Yes    ? QMessageBox::Yes
                            : Answer == No     ? QMessageBox::No
                                               : QMessageBox::Ok;
        QAbstractButton* button = box->button(wanted);
        (button ? button : box->buttons().value(0))->click();
    });
    Impl->Timer.start(5);
}

TMessageBoxes::~TMessageBoxes() = default;

std::string DesktopTarget(const std::string& path) {
    const QUrl url =
        QUrl::fromLocalFile(QDir::current().absoluteFilePath(QFile::decodeName(path.c_str())));
    return url.toString(QUrl::FullyEncoded).toStdString();
}

namespace {

QAccessibleInterface* AccessibleRow(TControl& list, int index) {
    return QAccessible::queryAccessibleInterface(QtWidget(list))->child(index);
}

std::vector<int>* CheckEvents = nullptr;
QObject* CheckEventList = nullptr;

} // namespace

TAccessibleItem ReadAccessibleItem(TControl& list, int index) {
    QAccessibleInterface* row = AccessibleRow(list, index);
    if (row == nullptr) {
        return {};
    }
    const QAccessible::State state = row->state();
    return {row->text(QAccessible::Name).toStdString(),
            row->role() != QAccessible::CheckBox ? "role " + std::to_string(row->role())
            : state.checkStateMixed              ? "mixed"
            : state.checked                      ? "checked"
                                                 : "unchecked",
            bool(state.selected), bool(state.focused)};
}

std::string AccessibleName(TControl& control) {
    return QAccessible::queryAccessibleInterface(QtWidget(control))
        ->text(QAccessible::Name)
        .toStdString();
}

void DoAccessibleAction(TControl& list, int index) {
    QAccessibleInterface* row = AccessibleRow(list, index);
    QAccessibleActionInterface* actions = row ? row->actionInterface() : nullptr;
    ASSERT_NE(actions, nullptr);
    ASSERT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
    actions->doAction(QAccessibleActionInterface::toggleAction());
}

// As a tool that has made itself known, which switches the reports on.
std::shared_ptr<std::vector<int>> RecordCheckEvents(TControl& list) {
    QPlatformAccessibility& bridge =
        *QGuiApplicationPrivate::platformIntegration()->accessibility();
    CheckEventList = QtWidget(list);
    const QAccessible::UpdateHandler previous =
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (event->type() == QAccessible::StateChanged && event->object() == CheckEventList) {
                CheckEvents->push_back(event->child());
            }
        });
    bridge.setActive(true);
    CheckEvents = new std::vector<int>;
    return {CheckEvents, [&bridge, previous](std::vector<int>* events) {
                bridge.setActive(false);
                QAccessible::installUpdateHandler(previous);
                delete events;
            }};
}
