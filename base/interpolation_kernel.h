// The inner loop of trace drawing: sin(x)/x between samples whose 18 taps
// all lie inside the record and hold data, and the rounding to pixels,
// both inline. Same results as InterpolateSample and RoundNearest there.
#pragma once

#include <cmath>
#include <cstdint>

#include "base/empty_sample.h"
#include "base/interpolation.h"

namespace qx40 {

// RoundNearest for |x| below 2^30, saturating beyond; 0 for NaN.
inline std::int32_t RoundToPixel(double x) {
    constexpr double kLimit = 1073741824.0;
    if (std::isnan(x)) return 0;
    if (x >= kLimit) return static_cast<std::int32_t>(kLimit);
    if (x <= -kLimit) return -static_cast<std::int32_t>(kLimit);
    return static_cast<std::int32_t>(x >= 0 ? x + 0.5 : x - 0.5);  // the cast truncates toward zero
}

// InterpolateSample(buf, i, phase, count) for phase 1..9, when slots
// i - 8 .. i + 9 are all inside the record and none is empty; otherwise
// the full function with its extrapolation.
inline std::int32_t InterpolateInterior(const std::int32_t* buf, std::int32_t i, std::int32_t phase,
                                        std::int32_t count) {
    if (i < 8 || i + 9 >= count) return InterpolateSample(buf, i, phase, count);
    const std::int32_t* taps = buf + (i - 8);
    std::int64_t sum = 0;
    for (int p = 0; p < 18; ++p) {
        if (taps[p] == kEmptySample) return InterpolateSample(buf, i, phase, count);
        sum += static_cast<std::int64_t>(taps[p]) * SincTable[static_cast<std::size_t>(p * 10 + 10 - phase)];
    }
    return RoundToPixel(static_cast<double>(sum) * 10.0 / 65536.0);
}

}  // namespace qx40
