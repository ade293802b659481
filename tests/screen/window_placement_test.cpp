#include "screen/window_placement.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace qx40 {
namespace {

// A 1920 x 1080 primary with a 30-pixel panel at the bottom, a 1280 x 1024
// screen to its right and one to its left.
const std::vector<WindowRect> kScreens = {
    {0, 0, 1920, 1050}, {1920, 0, 1280, 1024}, {-1280, 0, 1280, 1024}};

TEST(WindowPlacement, SavedPlaceKeptOrMovedOntoAScreen) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* what;
        WindowRect saved, expected;
    };
    const Case cases[] = {
        {"on the primary", {100, 100, 800, 600}, {100, 100, 800, 600}},
        {"on the right-hand screen", {2000, 50, 800, 600}, {2000, 50, 800, 600}},
        {"on the left-hand screen", {-1000, 100, 800, 600}, {-1000, 100, 800, 600}},
        {"across two screens, title bar on both", {1500, 100, 800, 600}, {1500, 100, 800, 600}},
        {"hanging off the bottom, title bar on screen", {100, 900, 800, 600}, {100, 900, 800, 600}},
        {"a narrow window wholly on screen", {10, 10, 60, 40}, {10, 10, 60, 40}},
        {"on a screen that is gone", {5000, 100, 800, 600}, {1120, 100, 800, 600}},
        {"far up and left", {-9000, -9000, 800, 600}, {0, 0, 800, 600}},
        {"title bar above the top", {100, -50, 800, 600}, {100, 0, 800, 600}},
        {"too little of the top edge on screen", {3150, 100, 800, 600}, {2400, 100, 800, 600}},
        {"title bar below the bottom", {2100, 1010, 800, 600}, {2100, 424, 800, 600}},
        {"larger than its screen", {2000, 0, 2500, 1400}, {1920, 0, 1280, 1024}},
        {"larger than every screen, nowhere", {9000, 9000, 5000, 5000}, {0, 0, 1920, 1050}},
        {"wild numbers from a file", {kMax - 10, kMax - 10, kMax, kMax}, {0, 0, 1920, 1050}},
        {"wild numbers below", {kMin, kMin, 800, 600}, {0, 0, 800, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(VisibleWindowRect(c.saved, kScreens), c.expected);
    }
}

TEST(WindowPlacement, WithoutScreensTheSavedPlaceStands) {
    const WindowRect saved{-5000, -5000, 800, 600};
    EXPECT_EQ(VisibleWindowRect(saved, {}), saved);
}

}  // namespace
}  // namespace qx40
