#include "base/interpolation_kernel.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/round_nearest.h"

namespace qx40 {
namespace {

TEST(InterpolationKernel, RoundToPixelMatchesRoundNearest) {
    for (const double x : {0.0, 0.49999, 0.5, 1.5, 2.5, -0.4, -0.5, -2.5, -1e-12, 123456.5, -98765.49, 1e6 + 0.5})
        EXPECT_EQ(RoundToPixel(x), RoundNearest(x)) << x;
    EXPECT_EQ(RoundToPixel(std::nan("")), 0);
    EXPECT_GT(RoundToPixel(1e300), 1000000000);
    EXPECT_LT(RoundToPixel(-1e300), -1000000000);
}

// The inline kernel is only a shortcut: over random records with empty
// slots, at every slot and phase, it must give what InterpolateSample gives.
TEST(InterpolationKernel, SameResultsAsInterpolateSample) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> code(0, 254);
    std::uniform_int_distribution<int> holes(0, 40);
    for (int round = 0; round < 20; ++round) {
        const std::int32_t count = 20 + round * 7;
        std::vector<std::int32_t> buf(static_cast<std::size_t>(count));
        for (auto& v : buf) v = holes(rng) == 0 ? kEmptySample : code(rng);
        for (std::int32_t i = -2; i < count + 2; ++i)
            for (std::int32_t phase = 1; phase < 10; ++phase)
                ASSERT_EQ(InterpolateInterior(buf.data(), i, phase, count), InterpolateSample(buf.data(), i, phase, count))
                    << "count " << count << " slot " << i << " phase " << phase;
    }
}

}  // namespace
}  // namespace qx40
