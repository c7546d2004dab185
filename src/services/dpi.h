// The density of the screen a window is shown on, for the pixel sizes the
// program gives itself (services/dpirules.h holds the arithmetic).
#pragma once
#include <windows.h>

#include <cstdint>

// The DPI Windows gives the window: that of its monitor for this program,
// which is aware of each monitor's own. Windows before 10 version 1607 has
// no GetDpiForWindow; there, and for a window that does not exist, it is the
// screen's DPI.
std::uint32_t WINDOWDPI(HWND window);

// A size in pixels at 96 DPI, as the window needs it.
int SCALEDFOR(HWND window, std::int32_t value);
