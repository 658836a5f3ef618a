// What every toolkit shares of forms; the toolkit's half is in qt/form.cpp and win32/form.cpp.
#include "platform/widgets/form.h"

#include "platform/widgets/application.h"
#include "platform/widgets/toolkit.h"

#include <utility>

void TForm::SetPosition(TPosition position) {
    Placement = position;
}

void TForm::SetActiveControl(TControl* control) {
    Active = control;
}

void TForm::SetPopupMenu(TPopupMenu* menu) {
    Popup = menu;
}

void TForm::Dispatch(TMessage&) {}

void THeldMessages::Deliver(TForm& form, TMessage message) {
    if (!WasPainted) {
        Held.push_back(message);
    } else {
        GuardedCall([&] { form.Dispatch(message); });
    }
}

std::vector<TMessage> THeldMessages::Painted() {
    WasPainted = true;
    return std::exchange(Held, {});
}
