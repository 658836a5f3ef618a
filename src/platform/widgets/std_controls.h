#pragma once

#include "platform/widgets/control.h"

// The plain controls of a window.

// A flat container for other controls.
class TPanel : public TControl {
public:
    explicit TPanel(TControl* parent);
};

// One line of text, such as a page's path, shown as it stands: "&" marks no accelerator.
class TLabel : public TControl {
public:
    explicit TLabel(TControl* parent);
    std::string Text() const override;
    void SetText(std::string_view text) override;
};

// A push button; "&" in its caption marks the accelerator (Alt and the letter).
class TButton : public TControl {
public:
    explicit TButton(TControl* parent);
    std::string Text() const override;
    void SetText(std::string_view text) override;

    TNotifyEvent OnClick;
};
