#include "platform/widgets/front_window.h"

#include "platform/widgets/form.h"
#include "platform/widgets/win32/control_impl.h"
#include "platform/win32/wide_text.h"

namespace {

struct TSearch {
    std::wstring Property;
    HWND Found = nullptr;
};

BOOL CALLBACK FindHolder(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<TSearch*>(search);
    if (GetPropW(window, wanted.Property.c_str()) != nullptr) {
        wanted.Found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

struct TFrontOnRequest::TImpl {
    HWND Window;
    std::wstring Property;
};

TFrontOnRequest::TFrontOnRequest(TForm& form, const std::string& key)
    : Impl(std::make_unique<TImpl>(TImpl{WindowOf(form), Widen(CP_ACP, key)})) {
    SetPropW(Impl->Window, Impl->Property.c_str(), reinterpret_cast<HANDLE>(1));
}

// A window must lose its properties before it goes.
TFrontOnRequest::~TFrontOnRequest() {
    if (IsWindow(Impl->Window)) {
        RemovePropW(Impl->Window, Impl->Property.c_str());
    }
}

void AskToFront(const std::string& key) {
    TSearch search{Widen(CP_ACP, key)};
    EnumWindows(&FindHolder, reinterpret_cast<LPARAM>(&search));
    if (search.Found == nullptr) {
        return;
    }
    if (IsIconic(search.Found)) {
        ShowWindow(search.Found, SW_RESTORE);
    }
    // The box that the window has open, if any, comes with it and on top.
    SetForegroundWindow(GetLastActivePopup(search.Found));
}
