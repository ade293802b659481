#include "spectrum/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace qx40 {
namespace {

using Complex = std::complex<double>;

std::vector<Complex> RandomInput(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    std::vector<Complex> x(n);
    for (Complex& v : x) v = {d(rng), d(rng)};
    return x;
}

// The transform by its definition, in long double.
std::vector<Complex> DirectDft(const std::vector<Complex>& x) {
    const std::size_t n = x.size();
    std::vector<std::complex<long double>> kernel(n);
    for (std::size_t q = 0; q < n; ++q) {
        const long double angle = -2 * std::numbers::pi_v<long double> * q / n;
        kernel[q] = {std::cos(angle), std::sin(angle)};
    }
    std::vector<Complex> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<long double> sum = 0;
        for (std::size_t j = 0; j < n; ++j)
            sum += std::complex<long double>(x[j].real(), x[j].imag()) * kernel[j * k % n];
        out[k] = {static_cast<double>(sum.real()), static_cast<double>(sum.imag())};
    }
    return out;
}

// The algorithm as written down, stage after stage, growing the twiddles
// while transforming: the optimised transform must give the same numbers
// (== takes +0 and -0 as equal; skipping the products by 1 and -i may only
// change the sign of a zero).
void PlainFft(std::int32_t m, Complex* x) {
    const std::uint32_t n = 1u << m;
    for (std::uint32_t i = 1; i + 1 < n; ++i) {
        const std::uint32_t j = ((BitReverse8[i % 256] * 256u) + BitReverse8[i / 256]) >> (16 - m);
        if (j > i) std::swap(x[i], x[j]);
    }
    std::vector<Complex> w(n / 2);
    w[0] = 1.0;
    for (std::uint32_t h = 1, s = 0; h < n; h *= 2, ++s) {
        const std::uint32_t t = n / (2 * h);
        for (std::uint32_t j = 0; j < h; ++j) {
            if (j % 2 == 1) w[j * t] = w[(j - 1) * t] * TwiddleSeeds[s];
            const Complex u = w[j * t];
            for (std::uint32_t i = j; i < n; i += 2 * h) {
                const Complex p = u * x[i + h];
                x[i + h] = x[i] - p;
                x[i] = x[i] + p;
            }
        }
    }
}

TEST(Fft, Tables) {
    EXPECT_EQ(BitReverse8[0x01], 0x80);
    EXPECT_EQ(BitReverse8[0x0F], 0xF0);
    EXPECT_EQ(BitReverse8[0xA3], 0xC5);
    EXPECT_EQ(TwiddleSeeds[0], Complex(-1.0, 0.0));
    EXPECT_EQ(TwiddleSeeds[1], Complex(0.0, -1.0));
    for (std::size_t k = 2; k < TwiddleSeeds.size(); ++k) {
        const double angle = std::numbers::pi / (1 << k);
        // Within two units in the last place of the library's values.
        EXPECT_NEAR(TwiddleSeeds[k].real(), std::cos(angle), 2.3e-16) << k;
        EXPECT_NEAR(TwiddleSeeds[k].imag(), -std::sin(angle), 2.3e-16) << k;
    }
}

TEST(Fft, MatchesDirectTransform) {
    FftTwiddles twiddles;
    for (std::int32_t m = 1; m <= 11; ++m) {
        const std::size_t n = std::size_t{1} << m;
        std::vector<Complex> x = RandomInput(n, 1000 + m);
        const std::vector<Complex> expected = DirectDft(x);
        Fft(m, x.data(), twiddles);
        double worst = 0;
        for (std::size_t k = 0; k < n; ++k) worst = std::max(worst, std::abs(x[k] - expected[k]));
        EXPECT_LT(worst, 1e-15 * n) << "m = " << m;
    }
}

TEST(Fft, SameNumbersAsThePlainAlgorithm) {
    FftTwiddles twiddles;
    // Orders below, at and above the cache block, odd and even stage counts,
    // and a change of size between transforms.
    for (std::int32_t m : {1, 2, 3, 9, 10, 11, 12, 15, 16, 4, 15}) {
        const std::size_t n = std::size_t{1} << m;
        std::vector<Complex> x = RandomInput(n, 77 + m);
        std::vector<Complex> plain = x;
        Fft(m, x.data(), twiddles);
        PlainFft(m, plain.data());
        std::size_t differing = 0;
        for (std::size_t k = 0; k < n; ++k) differing += x[k] != plain[k];
        EXPECT_EQ(differing, 0u) << "m = " << m;
    }
}

TEST(Fft, SineOf32768Points) {
    constexpr std::int32_t m = 15;
    constexpr std::size_t n = std::size_t{1} << m;
    constexpr std::size_t line = 1234;
    std::vector<Complex> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = std::sin(2 * std::numbers::pi * static_cast<double>(line * i % n) / n);
    FftTwiddles twiddles;
    Fft(m, x.data(), twiddles);
    // sin = (e^{ia} - e^{-ia}) / 2i: -iN/2 at the line, +iN/2 at its mirror.
    EXPECT_NEAR(x[line].real(), 0.0, 1e-8);
    EXPECT_NEAR(x[line].imag(), -0.5 * n, 1e-8);
    EXPECT_NEAR(x[n - line].real(), 0.0, 1e-8);
    EXPECT_NEAR(x[n - line].imag(), 0.5 * n, 1e-8);
    double leak = 0;
    for (std::size_t k = 0; k < n; ++k)
        if (k != line && k != n - line) leak = std::max(leak, std::abs(x[k]));
    EXPECT_LT(leak, 1e-8);
}

TEST(Fft, ImpulseAndConstant) {
    FftTwiddles twiddles;
    std::vector<Complex> x(8, 0.0);
    x[0] = 1.0;
    Fft(3, x.data(), twiddles);
    for (const Complex& v : x) EXPECT_EQ(v, Complex(1.0, 0.0));
    std::fill(x.begin(), x.end(), Complex(2.0, -1.0));
    Fft(3, x.data(), twiddles);
    EXPECT_EQ(x[0], Complex(16.0, -8.0));
    for (std::size_t k = 1; k < 8; ++k) EXPECT_NEAR(std::abs(x[k]), 0.0, 1e-14) << k;
}

TEST(Fft, OrderZeroIsTheIdentity) {
    FftTwiddles twiddles;
    Complex x(3.0, 4.0);
    Fft(0, &x, twiddles);
    EXPECT_EQ(x, Complex(3.0, 4.0));
}

TEST(Fft, TwiddleTableIsGrownOnceAndReused) {
    FftTwiddles twiddles;
    const Complex* first = twiddles.For(12);
    const std::vector<Complex> copy(first, first + 2048);
    EXPECT_EQ(twiddles.For(5), first);
    const Complex* again = twiddles.For(12);
    EXPECT_EQ(again, first);
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), again));
    // Entry q is exp(-2 pi i q / N).
    EXPECT_NEAR(again[1024].real(), 0.0, 1e-15);
    EXPECT_NEAR(again[1024].imag(), -1.0, 1e-15);
    EXPECT_NEAR(again[100].real(), std::cos(2 * std::numbers::pi * 100 / 4096), 1e-14);
}

}  // namespace
}  // namespace qx40
