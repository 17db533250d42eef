#include "app/core/placement.h"

#include <climits>
#include <gtest/gtest.h>

// Stored placements against two screens side by side (the right one shorter, with a task bar
// at its top): extreme values are refused without overflowing, and a window that is even
// partly on a screen is kept.
TEST(WindowPlacementSanity, OnlyPlacementsWithinTheDesktopAndOnAScreen) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, 40, 1280, 984)};
    struct Case {
        int left, top, width, height;
        bool sane;
    };
    const Case cases[] = {
        {2000, 100, 900, 600, true},    // on the second screen
        {-800, -500, 823, 589, true},   // a corner still on the first screen
        {3100, 900, 823, 589, true},    // a corner on the second screen
        {0, 0, 3200, 1040, true},       // the whole desktop
        {0, 0, 3201, 600, false},       // wider than the desktop
        {0, 0, 600, 1041, false},       // taller than the desktop
        {0, 0, INT_MAX, 589, false},    // Width=2147483647
        {0, 0, INT_MIN, 589, false},    // Width=-2147483648
        {0, 0, 823, 0, false},          // no height
        {INT_MAX, 10, 823, 589, false}, // Left=2147483647
        {10, INT_MAX, 823, 589, false}, // Top=2147483647
        {INT_MIN, INT_MIN, 823, 589, false},
        {3200, 0, 823, 589, false},  // just right of every screen
        {1920, 0, 823, 40, false},   // above the second screen's available area
        {-823, 10, 823, 589, false}, // just left of the first screen
        {10, 1040, 823, 589, false}, // just below the first screen
    };
    for (const Case& c : cases) {
        const WindowPlacement p{0, c.top, c.left, c.width, c.height};
        EXPECT_EQ(IsSanePlacement(p, screens), c.sane)
            << p.left << "," << p.top << " " << p.width << "x" << p.height;
    }
    EXPECT_FALSE(IsSanePlacement(WindowPlacement{0, 10, 10, 823, 589}, {}));
}

TEST(WindowPlacementSanity, DesignedSizeIsCentred) {
    const WindowPlacement p = CentredPlacement(QSize(823, 589), QRect(100, 50, 1920, 1040));
    EXPECT_EQ(QRect(p.left, p.top, p.width, p.height),
              QRect(100 + 959 - 411, 50 + 519 - 294, 823, 589));
}
