#pragma once

#include "platform/exceptions.h"
#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/std_controls.h"
#include "support/gui_driver.h"

#include <memory>
#include <vector>

// A form that records the messages posted to it and fails on the message 13.
class TRecordingForm : public TForm {
public:
    TRecordingForm() {
        SetClientSize(200, 100);
        Button = std::make_unique<TButton>(this);
        Button->SetBounds(10, 10, 80, 25);
        Button->SetText("&Go");
        Label = std::make_unique<TLabel>(this);
        Label->SetBounds(10, 50, 80, 20);
        Menu.Items().Add(std::make_unique<TMenuItem>("Command"));
        SetPopupMenu(&Menu);
        SetActiveControl(Button.get());
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

class FormTest : public TGuiTest {
protected:
    static TRecordingForm* ShownForm() {
        auto* form = TestApplication().CreateForm<TRecordingForm>();
        ShowAndWait(*form);
        return form;
    }
};
