#include "base/interpolation.h"

#include "base/empty_sample.h"
#include "base/round_nearest.h"

namespace qx40 {
namespace {

constexpr std::array<std::int32_t, 90> kHalfKernel = {
    6554, 6442, 6114, 5590, 4904, 4099, 3224, 2329, 1465, 676,
    0,    -538, -923, -1152, -1233, -1185, -1034, -808, -541, -262,
    0,    224,  394,  502,  547,  532,  469,  370,  249,  121,
    0,    -104, -182, -231, -251, -243, -213, -167, -111, -54,
    0,    45,   78,   98,   105,  101,  87,   67,   44,   21,
    0,    -17,  -29,  -36,  -38,  -36,  -30,  -23,  -15,  -7,
    0,    5,    9,    11,   11,   10,   8,    6,    4,    2,
    0,    -1,   -2,   -2,   -2,   -2,   -2,   -1,   -1,   0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
};

constexpr std::array<std::int32_t, 180> MakeSincTable() {
    std::array<std::int32_t, 180> t{};
    for (std::size_t d = 0; d < 90; ++d) {
        t[90 + d] = kHalfKernel[d];
        if (d > 0) t[90 - d] = kHalfKernel[d];
    }
    return t;  // entry 0 (x = -9.0) stays 0
}

constexpr int kTaps = 18;

}  // namespace

const std::array<std::int32_t, 180> SincTable = MakeSincTable();

std::int32_t InterpolateSample(const std::int32_t* buf, std::int32_t i, std::int32_t phase, std::int32_t count) {
    if (i < 0 || i >= count) return kEmptySample;
    if (phase == 0) return buf[i];
    if (i == count - 1) return kEmptySample;

    std::array<std::int64_t, kTaps> taps{};
    std::int64_t last = 0, d1 = 0, dp = 0, d2 = 0;
    const bool forward = i >= 8;
    for (int n = 0; n < kTaps; ++n) {
        const int p = forward ? n : kTaps - 1 - n;
        const std::int32_t slot = i - 8 + p;
        const bool real = slot >= 0 && slot < count && buf[slot] != kEmptySample;
        if (real) {
            const std::int64_t d = buf[slot] - last;
            d2 = d - dp;
            dp = d;
            d1 = d;
            last = buf[slot];
        } else {
            d1 += d2;
            last += d1;
        }
        taps[static_cast<std::size_t>(p)] = last;
    }
    std::int64_t sum = 0;
    for (int p = 0; p < kTaps; ++p)
        sum += taps[static_cast<std::size_t>(p)] * SincTable[static_cast<std::size_t>(p * 10 + 10 - phase)];
    return RoundNearest(static_cast<double>(sum) * 10.0 / 65536.0);
}

}  // namespace qx40
