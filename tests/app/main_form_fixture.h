#pragma once

#include "program_fixture.h"

#include "app/main.h"

#include <string>

inline TMenuItem* SiteItem(const TMainForm& form, const std::string& caption) {
    for (int i = 0; i < form.PMSiteCheck->Count(); ++i) {
        if (form.PMSiteCheck->Items(i)->Caption == caption) {
            return form.PMSiteCheck->Items(i);
        }
    }
    return nullptr;
}

class MainFormTest : public TProgramTest {};
