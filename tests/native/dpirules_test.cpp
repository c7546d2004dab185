// The program's 96-DPI pixel sizes at the densities Windows offers (100 %
// to 300 %), rounded as MulDiv rounds them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "services/dpirules.h"

TEST(DpiScaling, SizesAtEachScale) {
    struct Case {
        std::int32_t value;
        std::uint32_t dpi;
        std::int32_t scaled;
    } cases[] = {
        {10, 96, 10},   {10, 120, 13},  {10, 144, 15},  {10, 168, 18},  {10, 192, 20},  {10, 288, 30},
        {2, 96, 2},     {2, 120, 3},    {2, 144, 3},    {2, 192, 4},    {3, 144, 5},    {1, 144, 2},
        {1, 120, 1},    {150, 144, 225}, {125, 144, 188}, {135, 120, 169}, {0, 144, 0},
        // Halves go away from zero on both sides, as MulDiv does.
        {-1, 144, -2},  {-3, 144, -5},  {-10, 120, -13}, {-20, 144, -30},
        // Sizes of a screen scaled back to 100 % and below.
        {15, 72, 11},   {9, 48, 5},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SCALEDFORDPI(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

TEST(DpiScaling, UnknownDpiCountsAsTheBase) {
    EXPECT_EQ(SCALEDFORDPI(10, 0), 10);
    EXPECT_EQ(SCALEDFORDPI(-7, 0), -7);
}

TEST(DpiScaling, HugeValuesStopAtTheLimits) {
    constexpr std::int32_t largest = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t smallest = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(SCALEDFORDPI(largest, 192), largest);
    EXPECT_EQ(SCALEDFORDPI(smallest, 192), smallest);
    EXPECT_EQ(SCALEDFORDPI(largest, 48), largest / 2 + 1);
    EXPECT_EQ(SCALEDFORDPI(1000, 0xFFFFFFFFu), largest);
}

TEST(DpiScaling, RectanglesKeepTheirScaledSize) {
    struct Case {
        WindowRect given;
        std::uint32_t dpi;
        WindowRect scaled;
    } cases[] = {
        {{20, 20, 600, 400}, 96, {20, 20, 600, 400}},
        {{20, 20, 600, 400}, 120, {25, 25, 750, 500}},
        {{20, 20, 600, 400}, 144, {30, 30, 900, 600}},
        {{20, 20, 600, 400}, 192, {40, 40, 1200, 800}},
        // Corner and size are rounded each on its own: 1.5 px of corner and
        // 4.5 px of size at 144 DPI give 2 and 5, not 2 to 8.
        {{1, 1, 4, 4}, 144, {2, 2, 7, 7}},
        {{-3, -1, 0, 2}, 144, {-5, -2, 0, 3}},
    };
    for (const Case &c : cases) {
        const WindowRect r = SCALEDRECT(c.given, c.dpi);
        EXPECT_EQ(r.left, c.scaled.left) << c.dpi;
        EXPECT_EQ(r.top, c.scaled.top) << c.dpi;
        EXPECT_EQ(r.right, c.scaled.right) << c.dpi;
        EXPECT_EQ(r.bottom, c.scaled.bottom) << c.dpi;
    }
}
