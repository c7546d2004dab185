// The program's own pixel sizes at a screen's density. They are given as
// pixels at 96 dots per inch (100 %, Windows' base) and scaled to the DPI of
// the window they are used in; rectangles that Windows stored or handed out
// are physical pixels already and are never scaled.
#pragma once
#include <cstdint>

#include "services/appsettings.h"

constexpr std::uint32_t BASEDPI = 96;

// value (pixels at 96 DPI) at dpi, to the nearest pixel, halves away from
// zero as Windows' MulDiv rounds them; a dpi of 0 (none known) counts as 96.
std::int32_t SCALEDFORDPI(std::int32_t value, std::uint32_t dpi);

// A rectangle given at 96 DPI: its corner and its size are each scaled, so
// the size is the scaled size wherever the corner lies.
WindowRect SCALEDRECT(const WindowRect &r, std::uint32_t dpi);
