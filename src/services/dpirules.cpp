#include "services/dpirules.h"

#include <limits>

namespace {

// A DPI no screen has could carry a large value past 32 bits.
std::int32_t CLAMPED(std::int64_t value) {
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t smallest = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value > largest ? largest : value < smallest ? smallest : value);
}

std::int64_t SCALED64(std::int64_t value, std::uint32_t dpi) {
    if (dpi == 0)
        dpi = BASEDPI;
    const std::int64_t product = value * dpi;
    const std::int64_t half = BASEDPI / 2;
    return product >= 0 ? (product + half) / BASEDPI : -((-product + half) / BASEDPI);
}

}  // namespace

std::int32_t SCALEDFORDPI(std::int32_t value, std::uint32_t dpi) {
    return CLAMPED(SCALED64(value, dpi));
}

WindowRect SCALEDRECT(const WindowRect &r, std::uint32_t dpi) {
    const std::int64_t left = SCALED64(r.left, dpi);
    const std::int64_t top = SCALED64(r.top, dpi);
    const std::int64_t width = SCALED64(static_cast<std::int64_t>(r.right) - r.left, dpi);
    const std::int64_t height = SCALED64(static_cast<std::int64_t>(r.bottom) - r.top, dpi);
    return WindowRect{CLAMPED(left), CLAMPED(top), CLAMPED(left + width), CLAMPED(top + height)};
}
