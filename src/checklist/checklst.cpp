#include "checklist/checklst.h"

#include "platform/exceptions.h"
#include "platform/widgets/check_box_drawing.h"

#include <utility>

namespace {

int MeasuredWidth = 0;
int MeasuredHeight = 0;
bool Measured = false;

TAccessibleCheck AccessibleCheckOf(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return TAccessibleCheck::Checked;
    case CheckState::Grayed:
        return TAccessibleCheck::Mixed;
    case CheckState::Unchecked:
        break;
    }
    return TAccessibleCheck::Unchecked;
}

TCheckBoxLook LookOf(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return TCheckBoxLook::Checked;
    case CheckState::Grayed:
        return TCheckBoxLook::Grayed;
    case CheckState::Unchecked:
        break;
    }
    return TCheckBoxLook::Unchecked;
}

CheckState NextState(CheckState state, bool allowGrayed) {
    switch (state) {
    case CheckState::Unchecked:
        return allowGrayed ? CheckState::Grayed : CheckState::Checked;
    case CheckState::Checked:
        return CheckState::Unchecked;
    case CheckState::Grayed:
        break;
    }
    return CheckState::Checked;
}

} // namespace

void ProbeCheckBoxSize() {
    if (Measured) {
        return;
    }
    const TCheckBoxSize box = CheckBoxSize();
    MeasuredWidth = box.Width;
    MeasuredHeight = box.Height;
    Measured = true;
}

int CheckBoxWidth() {
    return MeasuredWidth;
}

int CheckBoxHeight() {
    return MeasuredHeight;
}

TCheckListBox::TCheckListBox(TControl* parent) : TCustomListBox(parent) {}

TCheckListBox::~TCheckListBox() = default;

// Records

const TCheckListBoxDataWrapper* TCheckListBox::FindWrapper(int index) const {
    if (index < 0 || index >= Items().Count()) {
        throw EListError::IndexError(index);
    }
    const auto found = Records.find(TCustomListBox::GetItemData(index));
    return found == Records.end() ? nullptr : &found->second;
}

TCheckListBoxDataWrapper* TCheckListBox::FindWrapper(int index) {
    return const_cast<TCheckListBoxDataWrapper*>(std::as_const(*this).FindWrapper(index));
}

TCheckListBoxDataWrapper* TCheckListBox::AttachWrapper(int index) {
    const std::intptr_t ticket = NextTicket++;
    TCheckListBoxDataWrapper* record = &Records.try_emplace(ticket).first->second;
    TCustomListBox::SetItemData(index, ticket);
    return record;
}

TCheckListBoxDataWrapper* TCheckListBox::ObtainWrapper(int index) {
    TCheckListBoxDataWrapper* record = FindWrapper(index);
    return record ? record : AttachWrapper(index);
}

CheckState TCheckListBox::ItemState(int index) const {
    const TCheckListBoxDataWrapper* record = FindWrapper(index);
    return record ? record->CurrentState : TCheckListBoxDataWrapper::InitialState();
}

bool TCheckListBox::ItemChecked(int index) const {
    const TCheckListBoxDataWrapper* record = FindWrapper(index);
    return record && record->IsChecked();
}

void TCheckListBox::SetItemState(int index, CheckState state) {
    if (state == ItemState(index)) {
        return;
    }
    ObtainWrapper(index)->CurrentState = state;
    ++Changes;
    RefreshCheck(index);
}

void TCheckListBox::SetItemChecked(int index, bool value) {
    if (value == ItemChecked(index)) {
        return;
    }
    ObtainWrapper(index)->MarkChecked(value);
    ++Changes;
    RefreshCheck(index);
}

std::intptr_t TCheckListBox::GetItemData(int index) const {
    const TCheckListBoxDataWrapper* record = FindWrapper(index);
    return record ? record->UserData : 0;
}

void TCheckListBox::SetItemData(int index, std::intptr_t value) {
    TCheckListBoxDataWrapper* record = ObtainWrapper(index);
    record->UserData = value;
    if (RestoreQueue && !RestoreQueue->empty()) {
        record->CurrentState = RestoreQueue->front();
        RestoreQueue->pop_front();
    }
}

void TCheckListBox::DeleteString(int index) {
    if (FindWrapper(index) != nullptr) {
        Records.erase(TCustomListBox::GetItemData(index));
    }
    TCustomListBox::DeleteString(index);
}

void TCheckListBox::ResetContent() {
    // Every record belongs to an item, and all of them go.
    Records.clear();
    TCustomListBox::ResetContent();
}

// The user's toggle

void TCheckListBox::CycleItemState(int index) {
    if (index < 0 || index >= Items().Count()) {
        return;
    }
    SetItemState(index, NextState(ItemState(index), Grayable));
    NotifyClickCheck();
}

void TCheckListBox::NotifyClickCheck() {
    if (OnClickCheck) {
        OnClickCheck(this);
    }
}

// Window life cycle

void TCheckListBox::CreateParams(TCreateParams& params) {
    TCustomListBox::CreateParams(params);
    if (params.Style == TListBoxStyle::Standard) {
        params.Style = TListBoxStyle::OwnerDrawFixed;
    }
}

void TCheckListBox::DestroyWnd() {
    const int count = Items().Count();
    if (count > 0) {
        RestoreQueue.emplace();
        for (int index = 0; index < count; ++index) {
            RestoreQueue->push_back(ItemState(index));
        }
    }
    // The records stay attached while the base reads every item's user data.
    TCustomListBox::DestroyWnd();
    Records.clear();
}

void TCheckListBox::CreateWnd() {
    // Re-adding the saved items hands each its user data and its saved state.
    TCustomListBox::CreateWnd();
    RestoreQueue.reset();
    UpdateItemHeight();
}

void TCheckListBox::UpdateItemHeight() {
    if (!HandleAllocated() || Style() != TListBoxStyle::Standard) {
        return;
    }
    Canvas().SetFont(Font());
    SetRowHeight(Canvas().TextHeight("Wg"));
}

void TCheckListBox::CMFontChanged() {
    TCustomListBox::CMFontChanged();
    UpdateItemHeight();
}

// Painting

void TCheckListBox::CNDrawItem(TDrawItemStruct& drawItem) {
    drawItem.Rect.Left += CheckColumnWidth();
    TCustomListBox::CNDrawItem(drawItem);
}

void TCheckListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (index >= 0 && index < Items().Count()) {
        PaintCheck({rect.Left - CheckColumnWidth(), rect.Top, rect.Left, rect.Bottom},
                   ItemState(index));
    }
    if (Style() != TListBoxStyle::Standard || !OnDrawItem) {
        TCustomListBox::DrawItem(index, rect, state);
        return;
    }
    // A standard list paints its items itself: the handler is put aside meanwhile.
    struct TReattach {
        TDrawItemEvent& Slot;
        TDrawItemEvent Handler;
        ~TReattach() { Slot = std::move(Handler); }
    } const reattach{OnDrawItem, std::exchange(OnDrawItem, nullptr)};
    TCustomListBox::DrawItem(index, rect, state);
}

void TCheckListBox::PaintCheck(const TRect& rect, CheckState state) {
    TRect box;
    box.Left = rect.Left + (rect.Width() - CheckBoxWidth()) / 2;
    box.Top = rect.Top + (rect.Height() - CheckBoxHeight()) / 2;
    box.Right = box.Left + CheckBoxWidth();
    box.Bottom = box.Top + CheckBoxHeight();
    DrawCheckBox(Canvas(), box, LookOf(state));
}

void TCheckListBox::RefreshCheck(int index) {
    TRect rect = ItemRect(index);
    rect.Right = rect.Left + CheckColumnWidth();
    RepaintRect(rect);
    AccessibleCheckChanged(index);
}

// Input

void TCheckListBox::KeyPress(char& key) {
    TCustomListBox::KeyPress(key);
    if (key == ' ') {
        CycleItemState(ItemIndex());
    }
}

void TCheckListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomListBox::MouseDown(button, shift, x, y);
    const int index = ItemAtPos({x, y});
    if (index >= 0 && x - ItemRect(index).Left < CheckColumnWidth()) {
        CycleItemState(index);
    }
}

TAccessibleCheck TCheckListBox::AccessibleCheck(int index) const {
    return AccessibleCheckOf(ItemState(index));
}

void TCheckListBox::AccessibleAction(int index) {
    CycleItemState(index);
}
