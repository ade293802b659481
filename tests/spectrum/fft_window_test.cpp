#include "spectrum/fft_window.h"

#include <gtest/gtest.h>

#include <array>

namespace qx40 {
namespace {

// Five-point windows worked out by hand in 40-digit arithmetic with the
// decimal angle constants: the samples either side of the middle differ
// slightly because 6.2831852 is not quite 2 pi.
struct WindowCase {
    FftWindow window;
    std::array<double, 5> w;
};

const WindowCase kFivePoints[] = {
    {kWindowRectangular, {1.0, 1.0, 1.0, 1.0, 1.0}},
    {kWindowHann,
     {0.0, 0.49999998660255169, 0.99999999999999928, 0.50000004019234493, 2.8718659393411737e-15}},
    {kWindowFlatTop,
     {0.004, -0.25800002052488914, 4.6399999999999841, -0.25799993842531255,
      0.0039999999999985641}},
    {kWindowHamming,
     {0.08, 0.53999998767434756, 0.99999999999999934, 0.54000003697695733, 0.080000000000002642}},
    {kWindowBlackman,
     {0.0, 0.33999998660255181, 0.99999999999999882, 0.34000004019234596, 1.0338717381628278e-15}},
    {kWindowBlackmanHarris,
     {6.0e-5, 0.21746998785521331, 0.99999999999999834, 0.2174700364343625, 6.000000000016249e-5}},
    {kWindowNuttall,
     {0.0, 0.21153598795344341, 0.99999999999999831, 0.21153603613967227, 1.3729816682802736e-16}},
    {kWindowBlackmanNuttall,
     {0.0003628, 0.22698238774792118, 0.99999999999999838, 0.22698243675623882,
      0.00036280000000022142}},
    {kWindowTriangular, {0.0, 0.5, 1.0, 0.5, 0.0}},
};

TEST(FftWindow, FivePointsByHand) {
    for (const WindowCase& c : kFivePoints)
        for (std::int32_t i = 0; i < 5; ++i)
            EXPECT_NEAR(FftWindowWeight(c.window, i, 5), c.w[i], 1e-14)
                << "window " << c.window << " i " << i;
}

TEST(FftWindow, TriangularWithEvenCount) {
    // (n - 1) / 2 = 1.5: the two middle samples are both at full weight.
    const std::array<double, 4> expected = {1.0 / 3, 1.0, 1.0, 1.0 / 3};
    for (std::int32_t i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(FftWindowWeight(kWindowTriangular, i, 4), expected[i]);
    EXPECT_DOUBLE_EQ(FftWindowWeight(kWindowTriangular, 0, 2), 1.0);
}

TEST(FftWindow, LevelFactors) {
    const std::array<double, kFftWindowCount> g = {1.0,      1 / 1.5,  1.0,      1 / 1.37, 1 / 1.73,
                                                   1 / 2.01, 1 / 2.02, 1 / 1.98, 1 / 1.33};
    for (std::int32_t w = 0; w < kFftWindowCount; ++w)
        EXPECT_DOUBLE_EQ(FftWindowLevelFactor(w), g[w]) << w;
    EXPECT_DOUBLE_EQ(FftWindowLevelFactor(kWindowHann), 0.6666666666666666);
    EXPECT_DOUBLE_EQ(FftWindowLevelFactor(kWindowTriangular), 0.7518796992481203);
}

}  // namespace
}  // namespace qx40
