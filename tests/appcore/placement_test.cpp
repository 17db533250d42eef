#include "app/core/placement.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

WindowPlacement At(int left, int top, int width, int height) {
    WindowPlacement p;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = height;
    return p;
}

} // namespace

// Stored placements against two screens side by side (the right one shorter, with a task bar
// at its top): extreme values are refused without overflowing, and a window that is even
// partly on a screen is kept.
TEST(WindowPlacementSanity, OnlyPlacementsWithinTheDesktopAndOnAScreen) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, 40, 1280, 984)};
    struct Case {
        WindowPlacement placement;
        bool sane;
    };
    const Case cases[] = {
        {At(10, 10, 823, 589), true},
        {At(2000, 100, 900, 600), true},    // on the second screen
        {At(-800, -500, 823, 589), true},   // a corner still on the first screen
        {At(3100, 900, 823, 589), true},    // a corner on the second screen
        {At(0, 0, 3200, 1040), true},       // the whole desktop
        {At(0, 0, 3201, 600), false},       // wider than the desktop
        {At(0, 0, 600, 1041), false},       // taller than the desktop
        {At(0, 0, INT_MAX, 589), false},    // Width=2147483647
        {At(0, 0, INT_MIN, 589), false},    // Width=-2147483648
        {At(0, 0, 16777215, 589), false},   // as a release build once wrote back
        {At(0, 0, 0, 589), false},          // no width
        {At(0, 0, 823, -1), false},         // negative height
        {At(INT_MAX, 10, 823, 589), false}, // Left=2147483647
        {At(10, INT_MAX, 823, 589), false}, // Top=2147483647
        {At(INT_MIN, INT_MIN, 823, 589), false},
        {At(3200, 0, 823, 589), false},  // just right of every screen
        {At(1920, 0, 823, 40), false},   // above the second screen's available area
        {At(-823, 10, 823, 589), false}, // just left of the first screen
        {At(10, 1040, 823, 589), false}, // just below the first screen
    };
    for (const Case& c : cases) {
        const WindowPlacement& p = c.placement;
        EXPECT_EQ(IsSanePlacement(p, screens), c.sane)
            << p.left << "," << p.top << " " << p.width << "x" << p.height;
    }
    EXPECT_FALSE(IsSanePlacement(At(10, 10, 823, 589), {}));
}

TEST(WindowPlacementSanity, DesignedSizeIsCentred) {
    const WindowPlacement p = CentredPlacement(QSize(823, 589), QRect(100, 50, 1920, 1040));
    EXPECT_EQ(p.windowState, 0);
    EXPECT_EQ(p.width, 823);
    EXPECT_EQ(p.height, 589);
    EXPECT_EQ(p.left, 100 + 959 - 411);
    EXPECT_EQ(p.top, 50 + 519 - 294);
    EXPECT_TRUE(IsSanePlacement(p, {QRect(100, 50, 1920, 1040)}));
}
