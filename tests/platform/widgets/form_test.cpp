#include "form_fixture.h"

#include "platform/exceptions.h"
#include "platform/widgets/application.h"
#include "support/gui_driver.h"

namespace {

class TFailingForm : public TRecordingForm {
public:
    TFailingForm() {
        OnCreate = [](TObject*) { throw EInOutError(2, "cannot create the output file"); };
    }
};

using Texts = std::vector<std::string>;

TEST_F(FormTest, AFailingClickHandlerIsShownAndTheLoopGoesOn) {
    TRecordingForm* form = ShownForm();
    int clicks = 0;
    form->Button->OnClick = [&](TObject*) {
        if (++clicks == 1) {
            throw EListError::IndexError(7);
        }
    };
    TMessageBoxes boxes;
    Click(*form->Button);
    EXPECT_EQ(boxes.Texts, Texts{"List index out of bounds (7)"});
    Click(*form->Button);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(boxes.Texts.size(), 1u);
}

TEST_F(FormTest, AFailingPostedMessageIsShownAndLaterMessagesAreHandled) {
    TRecordingForm* form = ShownForm();
    TMessageBoxes boxes;
    form->Post(13);
    form->Post(1);
    EXPECT_TRUE(WaitFor([&] { return !form->Handled.empty(); }));
    EXPECT_EQ(form->Handled, std::vector<unsigned>{1});
    EXPECT_EQ(boxes.Texts, Texts{"message 13 failed"});
}

TEST_F(FormTest, AFailureWhileAFormIsCreatedIsShownAndTheFormStays) {
    TMessageBoxes boxes;
    auto* form = TestApplication().CreateForm<TFailingForm>();
    EXPECT_EQ(boxes.Texts, Texts{"cannot create the output file"});
    EXPECT_EQ(TestApplication().MainForm(), form);
    ShowAndWait(*form);
    EXPECT_TRUE(IsShown(*form));
}

TEST_F(FormTest, MessagesPostedBeforeTheWindowShowsWaitForItsFirstPaint) {
    auto* form = TestApplication().CreateForm<TRecordingForm>();
    form->Post(1);
    Wait(20);
    EXPECT_TRUE(form->Handled.empty());
    ShowAndWait(*form);
    EXPECT_TRUE(WaitFor([&] { return !form->Handled.empty(); }));
    EXPECT_EQ(form->Handled, std::vector<unsigned>{1});
}

// Escape never closes the window; the button's accelerator works while it is enabled.
TEST_F(FormTest, NoWayOfClosingWorksWhileTheCloseCommandIsGreyed) {
    TRecordingForm* form = ShownForm();
    int clicks = 0;
    form->Button->OnClick = [&](TObject*) { ++clicks; };
    form->SetCloseCommandEnabled(false);
    if (std::optional<bool> greyed = CloseBoxGreyed(*form)) {
        EXPECT_TRUE(*greyed);
    }
    form->Close();
    TryToClose(*form);
    EXPECT_TRUE(IsShown(*form));
    PressAltLetter(*form, 'g');
    EXPECT_EQ(clicks, 1);

    form->SetCloseCommandEnabled(true);
    if (std::optional<bool> greyed = CloseBoxGreyed(*form)) {
        EXPECT_FALSE(*greyed);
    }
    PressKey(*form->Button, TKey::Escape);
    EXPECT_TRUE(IsShown(*form));
    form->Close();
    EXPECT_FALSE(IsShown(*form));
}

TEST_F(FormTest, ThePopupMenuOpensOnAnyControlAndReturnsWithItsCommandDone) {
    TRecordingForm* form = ShownForm();
    int done = 0;
    form->Menu.Items().Items(0)->OnClick = [&](TObject*) { ++done; };
    ChoosePopupCommand(*form, *form->Label, {5, 5}, {"Command"});
    EXPECT_EQ(done, 1);
    form->Button->SetFocus();
    ChoosePopupCommand(*form, *form->Button, {}, {"Command"}, true);
    EXPECT_EQ(done, 2);
    ChoosePopupCommand(*form, *form->Label, {5, 5}, {}); // closed without a choice
    EXPECT_EQ(done, 2);
}

TEST_F(FormTest, AFailingMenuCommandIsShown) {
    TMenuItem item("Command");
    item.OnClick = [](TObject*) { throw Exception("command failed"); };
    TMessageBoxes boxes;
    item.Click();
    EXPECT_EQ(boxes.Texts, Texts{"command failed"});
}

} // namespace
