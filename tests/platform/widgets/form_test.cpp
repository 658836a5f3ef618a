#include "platform/exceptions.h"
#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/qt/control_impl.h"
#include "platform/widgets/std_controls.h"
#include "support/message_box_catcher.h"
#include "support/popup_menu_chooser.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QTest>

namespace {

// A form that records the messages posted to it and fails on the message 13.
class TRecordingForm : public TForm {
public:
    TRecordingForm() {
        SetClientSize(200, 100);
        Button = std::make_unique<TButton>(this);
        Button->SetBounds(10, 10, 80, 25);
        Label = std::make_unique<TLabel>(this);
        Label->SetBounds(10, 50, 80, 20);
        Menu.Items().Add(std::make_unique<TMenuItem>("Command"));
        SetPopupMenu(&Menu);
    }
    void Dispatch(TMessage& message) override {
        if (message.Msg == 13) {
            throw Exception("message 13 failed");
        }
        Handled.push_back(message.Msg);
    }

    std::unique_ptr<TButton> Button;
    std::unique_ptr<TLabel> Label;
    TPopupMenu Menu;
    std::vector<unsigned> Handled;
};

class TFailingForm : public TRecordingForm {
public:
    TFailingForm() {
        OnCreate = [](TObject*) { throw EInOutError(2, "cannot create the output file"); };
    }
};

} // namespace

class FormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TApplication> App;

    TRecordingForm* ShownForm() {
        auto* form = App->CreateForm<TRecordingForm>();
        form->Show();
        if (!QTest::qWaitForWindowExposed(QtWidget(*form))) {
            QTest::qFail("the window did not show", __FILE__, __LINE__);
        }
        return form;
    }

private slots:
    void initTestCase() {
        static int argc = 1;
        static char name[] = "form_tests";
        static char* argv[] = {name, nullptr};
        App = std::make_unique<TApplication>(argc, argv);
    }
    void cleanup() { App->DestroyForms(); }

    void aFailingClickHandlerIsShownAndTheLoopGoesOn() {
        TRecordingForm* form = ShownForm();
        int clicks = 0;
        form->Button->OnClick = [&](TObject*) {
            if (++clicks == 1) {
                throw EListError::IndexError(7);
            }
        };
        TMessageBoxCatcher boxes;
        QTest::mouseClick(QtWidget(*form->Button), Qt::LeftButton);
        QCOMPARE(boxes.Texts, QStringList{"List index out of bounds (7)"});
        QTest::mouseClick(QtWidget(*form->Button), Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(boxes.Texts.size(), 1);
    }

    void aFailingPostedMessageIsShownAndLaterMessagesAreHandled() {
        TRecordingForm* form = ShownForm();
        TMessageBoxCatcher boxes;
        PostMessage(*form, 13, 0, 0);
        PostMessage(*form, WM_USER + 1, 0, 0);
        QTRY_COMPARE(form->Handled, std::vector<unsigned>{WM_USER + 1});
        QCOMPARE(boxes.Texts, QStringList{"message 13 failed"});
    }

    void aFailureWhileAFormIsCreatedIsShownAndTheFormStays() {
        TMessageBoxCatcher boxes;
        auto* form = App->CreateForm<TFailingForm>();
        QCOMPARE(boxes.Texts, QStringList{"cannot create the output file"});
        QCOMPARE(App->MainForm(), form);
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(QtWidget(*form)));
    }

    void messagesPostedBeforeTheWindowShowsWaitForItsFirstPaint() {
        auto* form = App->CreateForm<TRecordingForm>();
        PostMessage(*form, WM_USER + 1, 0, 0);
        QTest::qWait(20);
        QVERIFY(form->Handled.empty());
        form->Show();
        QTRY_COMPARE(form->Handled, std::vector<unsigned>{WM_USER + 1});
    }

    void noWayOfClosingWorksWhileTheCloseCommandIsGreyed() {
        TRecordingForm* form = ShownForm();
        QWidget* window = QtWidget(*form);
        const Qt::WindowFlags flags = window->windowFlags();
        form->SetCloseCommandEnabled(false);
        QVERIFY(!window->close());
        QCloseEvent fromTheFrame;
        QApplication::sendEvent(window, &fromTheFrame);
        QVERIFY(!fromTheFrame.isAccepted());
        // Changing the frame would hide the window and make it again.
        QCOMPARE(window->windowFlags(), flags);
        form->SetCloseCommandEnabled(true);
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(window->isVisible());
        form->Close();
        QVERIFY(!window->isVisible());
    }

    void thePopupMenuOpensOnAnyControlAndReturnsWithItsCommandDone() {
        TRecordingForm* form = ShownForm();
        int done = 0;
        form->Menu.Items().Items(0)->OnClick = [&](TObject*) { ++done; };
        TPopupMenuChooser chooser({"Command", "Command"});
        QWidget* label = QtWidget(*form->Label);
        QContextMenuEvent byMouse(QContextMenuEvent::Mouse, QPoint(5, 5),
                                  label->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(label, &byMouse);
        QCOMPARE(done, 1);
        QVERIFY(QApplication::activePopupWidget() == nullptr);

        QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                QtWidget(*form)->mapToGlobal(QPoint(0, 0)));
        QApplication::sendEvent(QtWidget(*form->Button), &byKey);
        QCOMPARE(done, 2);
    }

    void aFailingMenuCommandIsShown() {
        TMenuItem item("Command");
        item.OnClick = [](TObject*) { throw Exception("command failed"); };
        TMessageBoxCatcher boxes;
        item.Click();
        QCOMPARE(boxes.Texts, QStringList{"command failed"});
    }
};

QTEST_MAIN(FormTest)
#include "form_test.moc"
