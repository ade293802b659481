#include "screen/screen_geometry.h"

#include <gtest/gtest.h>

#include <utility>

#include "base/blend_color.h"

namespace qx40 {
namespace {

TEST(ScreenGeometry, NormalPaintArea) {
    const ScreenGeometry g = ComputeScreenGeometry(731, 422);
    EXPECT_FALSE(g.Small);
    EXPECT_EQ(g.W, 660);  // (731 - 60) / 20 * 20
    EXPECT_EQ(g.H, 320);  // (422 - trunc(24 * 4.25)) / 16 * 16
    EXPECT_EQ(g.X0, 36);  // (731 - 660) / 2 + 1
    EXPECT_EQ(g.Y0, 25);  // trunc(102 * 4 / 17 + 1)
    EXPECT_EQ(g.Px, 66);
    EXPECT_EQ(g.Py, 40);
    EXPECT_DOUBLE_EQ(g.Hs, 1.32);
    EXPECT_DOUBLE_EQ(g.Vs, 1.25);
}

TEST(ScreenGeometry, NarrowPaintAreaUsesTheSmallTopMargin) {
    // Y0 18 before the grid is placed: the grid height reserves trunc(18 * 4.25) = 76 rows.
    const ScreenGeometry g = ComputeScreenGeometry(499, 300);
    EXPECT_TRUE(g.Small);
    EXPECT_EQ(g.W, 420);
    EXPECT_EQ(g.H, 224);  // (300 - 76) / 16 * 16
    EXPECT_EQ(g.Y0, 18);  // trunc(76 * 4 / 17 + 1)
    const ScreenGeometry wide = ComputeScreenGeometry(500, 300);
    EXPECT_FALSE(wide.Small);
    EXPECT_EQ(wide.H, 192);  // (300 - 102) / 16 * 16: the larger margin
}

TEST(ScreenGeometry, TinyAreaStillGetsTheSmallestGrid) {
    for (const auto& [iw, ih] : {std::pair{0, 0}, std::pair{50, 40}, std::pair{150, 100}, std::pair{-10, -10}}) {
        const ScreenGeometry g = ComputeScreenGeometry(iw, ih);
        EXPECT_EQ(g.W, 125) << iw;
        EXPECT_EQ(g.H, 64) << ih;
        EXPECT_EQ(g.Px, 12);
        EXPECT_EQ(g.Py, 8);
        EXPECT_DOUBLE_EQ(g.Vs, 0.25);
    }
    // The grid is centred even when it is wider than the area.
    EXPECT_EQ(ComputeScreenGeometry(100, 100).X0, -11);
}

TEST(BlendColor, PerChannelTowardsTheBackground) {
    EXPECT_EQ(BlendColor(0x00FF00, 0x000000, 2.0), 0x007F00u);   // trunc(127.5)
    EXPECT_EQ(BlendColor(0x00FF00, 0x000000, 3.0), 0x005500u);
    EXPECT_EQ(BlendColor(0xC08000, 0x000000, 1.5), 0x805500u);   // 192/1.5 = 128, 128/1.5 = 85.3
    EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 2.0), 0x7F7F7Fu);   // trunc(255 - 127.5)
    EXPECT_EQ(BlendColor(0x123456, 0x123456, 2.0), 0x123456u);
    EXPECT_EQ(BlendColor(0x00FF00, 0x000000, 1.0), 0x00FF00u);
}

}  // namespace
}  // namespace qx40
