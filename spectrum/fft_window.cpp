#include "spectrum/fft_window.h"

#include <array>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace qx40 {
namespace {

// The angles of the cosine terms: decimal values close to 2 pi k, kept as
// they are so that weights (and so levels) stay the same from version to version.
constexpr std::array<double, 4> kTheta = {6.2831852, 12.5663704, 18.8495556, 25.1327408};

// w = a0 - a1 C1 + a2 C2 - a3 C3 + a4 C4; unused terms are 0.
struct CosineSum {
    std::array<double, 5> a;
    std::int32_t terms;  // cosine terms in use
};

constexpr std::array<CosineSum, kFftWindowCount> kCosineSums = {{
    {{1.0, 0, 0, 0, 0}, 0},                                // rectangular
    {{0.5, 0.5, 0, 0, 0}, 1},                              // Hann
    {{1.0, 1.93, 1.29, 0.388, 0.032}, 4},                  // flat top
    {{0.54, 0.46, 0, 0, 0}, 1},                            // Hamming
    {{0.42, 0.5, 0.08, 0, 0}, 2},                          // Blackman
    {{0.35875, 0.48829, 0.14128, 0.01168, 0}, 3},          // Blackman-Harris
    {{0.355768, 0.487396, 0.144232, 0.012604, 0}, 3},      // Nuttall
    {{0.3635819, 0.4891775, 0.1365995, 0.0106411, 0}, 3},  // Blackman-Nuttall
    {{0, 0, 0, 0, 0}, 0},                                  // triangular: below
}};

constexpr std::array<double, kFftWindowCount> kLevelFactor = {
    1.0, 1.0 / 1.5, 1.0, 1.0 / 1.37, 1.0 / 1.73, 1.0 / 2.01, 1.0 / 2.02, 1.0 / 1.98, 1.0 / 1.33,
};

bool Known(std::int32_t window) {
    return window >= 0 && window < kFftWindowCount;
}

}  // namespace

double FftWindowWeight(std::int32_t window, std::int32_t i, std::int32_t n) {
    assert(Known(window) && n >= 2 && i >= 0 && i < n);
    if (!Known(window) || n < 2) return 1.0;
    const double last = n - 1;
    if (window == kWindowTriangular) {
        const double half = last / 2;
        const double a = std::trunc(std::abs(i - half));
        return (half - a) * 2 / last;
    }
    const CosineSum& c = kCosineSums[window];
    double w = c.a[0];
    for (std::int32_t k = 1; k <= c.terms; ++k) {
        const double term = c.a[k] * std::cos(kTheta[k - 1] * i / last);
        w += (k % 2 == 1) ? -term : term;
    }
    return w;
}

double FftWindowLevelFactor(std::int32_t window) {
    assert(Known(window));
    return Known(window) ? kLevelFactor[window] : 1.0;
}

}  // namespace qx40
