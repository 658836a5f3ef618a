#include "platform/widgets/win32/dpi.h"

namespace {

// A function of user32 that Windows 7 and 8.1 lack: looked up when first needed, so that the
// program still starts there; null where it is missing.
template <class TFunction>
TFunction User32Function(const char* name) {
    return reinterpret_cast<TFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

} // namespace

int ToPixels(int units, UINT dpi) {
    return MulDiv(units, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}

int ToUnits(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(DesignDpi), static_cast<int>(dpi));
}

RECT ToPixels(const TRect& units, UINT dpi) {
    return {ToPixels(units.Left, dpi), ToPixels(units.Top, dpi), ToPixels(units.Right, dpi),
            ToPixels(units.Bottom, dpi)};
}

TRect ToUnits(const RECT& pixels, UINT dpi) {
    return {ToUnits(pixels.left, dpi), ToUnits(pixels.top, dpi), ToUnits(pixels.right, dpi),
            ToUnits(pixels.bottom, dpi)};
}

UINT SystemDpi() {
    static const UINT dpi = [] {
        HDC screen = GetDC(nullptr);
        const int found = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return found > 0 ? static_cast<UINT>(found) : DesignDpi;
    }();
    return dpi;
}

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjust =
        User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
    if (adjust) {
        adjust(&rect, style, FALSE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}
