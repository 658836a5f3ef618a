#pragma once

#include "checklist/checklst.h"

#include <string>

// A check list that lets tests see its records and write its native data words.
class TTestCheckList : public TCheckListBox {
public:
    explicit TTestCheckList(TControl* parent = nullptr) : TCheckListBox(parent) {}
    using TCheckListBox::RecordCount;
    std::intptr_t Slot(int index) const { return TCustomListBox::GetItemData(index); }
    void SetSlot(int index, std::intptr_t value) { TCustomListBox::SetItemData(index, value); }

    void AddItems(int count) {
        Items().BeginUpdate();
        for (int i = 0; i < count; ++i) {
            Items().Add("/site/page" + std::to_string(i) + ".html");
        }
        Items().EndUpdate();
    }
};
