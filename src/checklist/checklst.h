#pragma once

#include "platform/widgets/list_box.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>

enum class CheckState : std::uint8_t { Unchecked = 0, Checked = 1, Grayed = 2 };

// Measures the desktop's check box. Call it once at start-up, after the application object
// exists and before any window; later calls keep the first measurement.
void ProbeCheckBoxSize();
// The size of one check box in pixels; 0 until ProbeCheckBoxSize has run.
int CheckBoxWidth();
int CheckBoxHeight();

// What an item of a check list carries once it has left the plain unchecked state or has been
// given user data.
class TCheckListBoxDataWrapper : public TObject {
public:
    void MarkChecked(bool flag) {
        CurrentState = flag ? CheckState::Checked : CheckState::Unchecked;
    }
    bool IsChecked() const { return CurrentState == CheckState::Checked; }
    // The state of an item without a record.
    static CheckState InitialState() { return CheckState::Unchecked; }

    std::intptr_t UserData = 0;
    CheckState CurrentState = CheckState::Unchecked;
};

// A list box with a check box in front of every item. Item numbers count from 0; every
// per-item operation raises EListError, changing nothing, for a number that names no item.
//
// Typical use by a form:
//     auto list = std::make_unique<TCheckListBox>(parentControl);
//     list->SetBounds(0, 0, 592, 198);
//     list->Items().BeginUpdate();
//     list->Items().Add(path);
//     list->Items().EndUpdate();
//     list->SetItemChecked(i, true);
//     if (list->ItemChecked(i)) ...
//
// Records: each item's native data word holds 0 or a ticket, and the control's registry maps
// live tickets to their records. A word that is no live ticket counts as no record, so no
// other value is ever taken for one; the registry owns every record.
class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TControl* parent);
    ~TCheckListBox() override;

    // The user's toggle passes through Grayed.
    bool AllowGrayed() const { return Grayable; }
    void SetAllowGrayed(bool allow) { Grayable = allow; }
    // Called after the user has toggled an item, once its new state is stored and shown.
    TNotifyEvent OnClickCheck;

    // Reading creates no record.
    CheckState ItemState(int index) const;
    bool ItemChecked(int index) const;
    // A call that changes nothing creates no record and repaints nothing; a change repaints
    // the item's check box before returning and tells assistive tools. Neither calls
    // OnClickCheck.
    void SetItemState(int index, CheckState state);
    // False unchecks only a Checked item: a Grayed one stays Grayed.
    void SetItemChecked(int index, bool value);
    // How many times a check has changed, by any of the calls above or the user's toggle: a
    // reader that saw the same count before knows that nothing changed, without asking every
    // item.
    unsigned CheckChanges() const { return Changes; }
    // The caller's data word of the item; 0 until set.
    std::intptr_t GetItemData(int index) const override;
    void SetItemData(int index, std::intptr_t value) override;

    // The user's toggle: Unchecked, Checked (or Grayed first when AllowGrayed), Unchecked again;
    // Grayed goes to Checked. An index that names no item is ignored.
    void CycleItemState(int index);
    // The strip at the left edge of every item that holds its check box.
    int CheckColumnWidth() const { return CheckBoxWidth() + 2; }

protected:
    // Calls OnClickCheck when assigned.
    virtual void NotifyClickCheck();

    void DeleteString(int index) override;
    void ResetContent() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void CMFontChanged() override;
    void CNDrawItem(TDrawItemStruct& drawItem) override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // Assistive tools read each item as a check box, and their action on it is the user's
    // toggle.
    TAccessibleCheck AccessibleCheck(int index) const override;
    void AccessibleAction(int index) override;

    // In the standard style, rows are as high as the text "Wg" in the control's font.
    void UpdateItemHeight();
    void PaintCheck(const TRect& rect, CheckState state);
    void RefreshCheck(int index);

    std::size_t RecordCount() const { return Records.size(); }

private:
    unsigned Changes = 0;
    const TCheckListBoxDataWrapper* FindWrapper(int index) const;
    TCheckListBoxDataWrapper* FindWrapper(int index);
    TCheckListBoxDataWrapper* AttachWrapper(int index);
    TCheckListBoxDataWrapper* ObtainWrapper(int index);

    bool Grayable = false;
    std::unordered_map<std::intptr_t, TCheckListBoxDataWrapper> Records;
    std::intptr_t NextTicket = 1;
    // The states of the items of a destroyed window, handed out in order as they are re-added.
    std::optional<std::deque<CheckState>> RestoreQueue;
};
