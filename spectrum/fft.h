// The program's own FFT: radix 2, decimation in time, in place, with the
// twiddle factors grown from a few exact seeds by complex multiplication,
// so that no trigonometric function is called while transforming.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

namespace qx40 {

// Largest transform order: N = 2^16.
inline constexpr std::int32_t kFftMaxOrder = 16;

// W_k = cos(pi / 2^k) - i sin(pi / 2^k), k = 0..15, correctly rounded (W_0 = -1,
// W_1 = -i exactly).
extern const std::array<std::complex<double>, kFftMaxOrder> TwiddleSeeds;
// Entry b is b with its 8 bits in reverse order.
extern const std::array<std::uint8_t, 256> BitReverse8;

// The twiddle factors of one transform size, kept between transforms.
// Entry q of order m is exp(-2 pi i q / 2^m), q < 2^(m-1): entry 0 is 1, and
// each other entry is grown, stage by stage, as the entry of the same stage
// one twiddle lower times that stage's seed. Storage for maxOrder is
// allocated by the constructor; growing a table allocates nothing.
class FftTwiddles {
public:
    explicit FftTwiddles(std::int32_t maxOrder = kFftMaxOrder);

    // The table of order m (1 <= m <= maxOrder), grown unless it is the
    // order of the previous call.
    const std::complex<double>* For(std::int32_t m);

    // Per-stage copies of the same values, stage s (half-size h = 2^s) at
    // offset h - 1, so that a stage reads its twiddles in order. Valid after For(m).
    const std::complex<double>* ByStage() const { return byStage_.data(); }

    std::int32_t MaxOrder() const { return maxOrder_; }

private:
    std::int32_t maxOrder_;
    std::int32_t order_ = -1;
    std::vector<std::complex<double>> table_;
    std::vector<std::complex<double>> byStage_;
};

// Forward transform of x[0 .. 2^m - 1] in place: X[k] = sum x[j] exp(-2 pi i jk / N),
// unscaled. 0 <= m <= twiddles.MaxOrder(); x must hold 2^m values.
void Fft(std::int32_t m, std::complex<double>* x, FftTwiddles& twiddles);

}  // namespace qx40
