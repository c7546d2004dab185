#include "services/dpi.h"

#include "services/dpirules.h"

namespace {

using DpiForWindowProc = UINT(WINAPI *)(HWND);

// Looked up once; the program must start where user32 lacks it.
DpiForWindowProc DPIFORWINDOW() {
    static const auto proc = reinterpret_cast<DpiForWindowProc>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return proc;
}

std::uint32_t SCREENDPI() {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return BASEDPI;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<std::uint32_t>(dpi) : BASEDPI;
}

}  // namespace

std::uint32_t WINDOWDPI(HWND window) {
    if (DpiForWindowProc proc = DPIFORWINDOW()) {
        if (const UINT dpi = window ? proc(window) : 0)
            return dpi;
    }
    return SCREENDPI();
}

int SCALEDFOR(HWND window, std::int32_t value) {
    return SCALEDFORDPI(value, WINDOWDPI(window));
}
