#pragma once

#include "platform/widgets/types.h"

#include <memory>
#include <string>
#include <string_view>

struct TControlImpl; // the toolkit's widget behind a control

// A visible control placed in its parent at the position of its bounds. Its texts, as all the
// window layer's, are bytes in the narrow encoding, shown as the file names' encoding shows them:
// a text of the program's own has been converted by NarrowText before it comes here.
class TControl : public TObject {
public:
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    TControl* Parent() const { return ParentControl; }

    void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    // The caption of a button, label or window; "&" marks an accelerator where the control has one.
    virtual std::string Text() const;
    virtual void SetText(std::string_view text);
    void SetFocus();

    const TFont& Font() const { return CurrentFont; }
    void SetFont(const TFont& font);

    // Repaints what needs painting before returning.
    void Update();

    TControlImpl& Impl() const { return *ImplPtr; }

protected:
    TControl(TControl* parent, std::unique_ptr<TControlImpl> impl);
    // Called after the font has changed.
    virtual void CMFontChanged() {}

private:
    TControl* ParentControl;
    std::unique_ptr<TControlImpl> ImplPtr;
    TFont CurrentFont;
};
