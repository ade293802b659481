// The weighting windows of the spectrum analyser (the Win setting) and the
// factor that turns each window's summed main-lobe power into a level.
#pragma once

#include <cstdint>

namespace qx40 {

enum FftWindow : std::int32_t {
    kWindowRectangular = 0,
    kWindowHann = 1,
    kWindowFlatTop = 2,
    kWindowHamming = 3,
    kWindowBlackman = 4,
    kWindowBlackmanHarris = 5,
    kWindowNuttall = 6,
    kWindowBlackmanNuttall = 7,
    kWindowTriangular = 8,
};
inline constexpr std::int32_t kFftWindowCount = 9;

// Weight of sample i of n (n >= 2, 0 <= i < n) under window `window`
// (0..8). The cosine terms use the fixed decimal multiples of pi
// 6.2831852, 12.5663704, 18.8495556 and 25.1327408, one cosine per term.
double FftWindowWeight(std::int32_t window, std::int32_t i, std::int32_t n);

// The level factor g of a window: the reciprocal of its summed main-lobe
// power relative to its peak bin. The flat-top window reads its level from
// the peak bin alone and has none (1.0 here).
double FftWindowLevelFactor(std::int32_t window);

}  // namespace qx40
