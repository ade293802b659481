#include "spectrum/fft.h"

#include <cassert>
#include <cstddef>
#include <utility>

namespace qx40 {
namespace {

using Complex = std::complex<double>;

constexpr std::array<std::uint8_t, 256> MakeBitReverse8() {
    std::array<std::uint8_t, 256> table{};
    for (std::uint32_t b = 0; b < 256; ++b) {
        std::uint32_t r = 0;
        for (std::uint32_t bit = 0; bit < 8; ++bit)
            if (b & (1u << bit)) r |= 0x80u >> bit;
        table[b] = static_cast<std::uint8_t>(r);
    }
    return table;
}

// The product written out: the library's operator* also checks for
// infinities on every call, which costs more than the product itself.
inline Complex Multiply(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// a, b := a + u b, a - u b.
inline void Butterfly(Complex& a, Complex& b, Complex u) {
    const Complex p = Multiply(u, b);
    b = a - p;
    a += p;
}

std::uint32_t Reversed(std::uint32_t i, std::int32_t shift) {
    return ((static_cast<std::uint32_t>(BitReverse8[i & 0xFF]) << 8) + BitReverse8[i >> 8]) >>
           shift;
}

// Swaps x[i] and x[j] for j = Reversed(i) > i. Every pair is swapped once
// whatever the order, so the large transforms take the indices in tiles:
// with i = (a, c, d) in high, middle and low bits, its partner is
// (rev d, rev c, rev a), and all i of one middle part c touch only 2^t short
// runs of i and 2^t of j, which stay in the cache while they are swapped.
void ReverseBits(std::int32_t m, Complex* x) {
    const std::uint32_t n = 1u << m;
    const std::int32_t shift = 16 - m;
    constexpr std::int32_t t = 4;
    if (m < 2 * t + 1) {
        for (std::uint32_t i = 1; i + 1 < n; ++i) {
            const std::uint32_t j = Reversed(i, shift);
            if (j > i) std::swap(x[i], x[j]);
        }
        return;
    }
    const std::uint32_t middles = 1u << (m - 2 * t);
    for (std::uint32_t c = 0; c < middles; ++c)
        for (std::uint32_t a = 0; a < (1u << t); ++a)
            for (std::uint32_t d = 0; d < (1u << t); ++d) {
                const std::uint32_t i = (a << (m - t)) | (c << t) | d;
                const std::uint32_t j = Reversed(i, shift);
                if (j > i) std::swap(x[i], x[j]);
            }
}

// The first two stages over [begin, end), four values at a time. Their
// twiddles are 1 and -i exactly (grown as 1 x W_1 = 0 - i), so the products
// are the values themselves, or re and im exchanged with a sign: the same
// numbers as multiplying, but for the sign of a zero.
void FirstTwoStages(Complex* x, std::size_t begin, std::size_t end) {
    for (std::size_t g = begin; g < end; g += 4) {
        Complex* q = x + g;
        const Complex a0 = q[0] + q[1], a1 = q[0] - q[1];
        const Complex a2 = q[2] + q[3], a3 = q[2] - q[3];
        const Complex p3(a3.imag(), -a3.real());
        q[0] = a0 + a2;
        q[2] = a0 - a2;
        q[1] = a1 + p3;
        q[3] = a1 - p3;
    }
}

// One stage of half-size h over [begin, end), twiddles in stage order.
void Stage(Complex* x, std::size_t begin, std::size_t end, std::size_t h, const Complex* w) {
    for (std::size_t g = begin; g < end; g += 2 * h) {
        for (std::size_t j = 0; j < h; ++j) {
            Complex a = x[g + j], b = x[g + j + h];
            Butterfly(a, b, w[j]);
            x[g + j] = a;
            x[g + j + h] = b;
        }
    }
}

// Stages of half-size h and 2h in one pass over [begin, end): each group of
// four values goes through both stages while it is in registers. The
// butterflies and their operands are those of the two stages run apart.
void StagePair(Complex* x, std::size_t begin, std::size_t end, std::size_t h, const Complex* w,
               const Complex* w2) {
    for (std::size_t g = begin; g < end; g += 4 * h) {
        for (std::size_t j = 0; j < h; ++j) {
            Complex* q = x + g + j;
            Complex v0 = q[0], v1 = q[h], v2 = q[2 * h], v3 = q[3 * h];
            const Complex u = w[j], u0 = w2[j], u1 = w2[j + h];
            Butterfly(v0, v1, u);
            Butterfly(v2, v3, u);
            Butterfly(v0, v2, u0);
            Butterfly(v1, v3, u1);
            q[0] = v0;
            q[h] = v1;
            q[2 * h] = v2;
            q[3 * h] = v3;
        }
    }
}

// Stages from half-size h up to (not including) half-size `limit` over
// [begin, end), two at a time where two remain.
void Stages(Complex* x, std::size_t begin, std::size_t end, std::size_t h, std::size_t limit,
            const Complex* w) {
    for (; 2 * h < limit; h *= 4) StagePair(x, begin, end, h, w + (h - 1), w + (2 * h - 1));
    if (h < limit) Stage(x, begin, end, h, w + (h - 1));
}

// The first stages run block by block, each block small enough to stay in
// the first-level cache: stages below this order only combine values inside
// aligned blocks of its size.
constexpr std::int32_t kBlockOrder = 10;

}  // namespace

const std::array<std::uint8_t, 256> BitReverse8 = MakeBitReverse8();

const std::array<Complex, kFftMaxOrder> TwiddleSeeds = {{
    {-1.0, 0.0},
    {0.0, -1.0},
    {0.7071067811865476, -0.7071067811865476},
    {0.9238795325112867, -0.3826834323650898},
    {0.9807852804032304, -0.19509032201612828},
    {0.9951847266721969, -0.0980171403295606},
    {0.9987954562051724, -0.049067674327418015},
    {0.9996988186962042, -0.024541228522912288},
    {0.9999247018391445, -0.012271538285719925},
    {0.9999811752826011, -0.006135884649154475},
    {0.9999952938095762, -0.003067956762965976},
    {0.9999988234517019, -0.0015339801862847657},
    {0.9999997058628822, -0.0007669903187427045},
    {0.9999999264657179, -0.00038349518757139556},
    {0.9999999816164293, -0.00019174759731070332},
    {0.9999999954041073, -9.587379909597734e-05},
}};

FftTwiddles::FftTwiddles(std::int32_t maxOrder)
    : maxOrder_(maxOrder < 1 ? 1 : (maxOrder > kFftMaxOrder ? kFftMaxOrder : maxOrder)),
      table_(std::size_t{1} << (maxOrder_ - 1)),
      byStage_(std::size_t{1} << maxOrder_) {}

const Complex* FftTwiddles::For(std::int32_t m) {
    assert(m >= 1 && m <= maxOrder_);
    if (m == order_) return table_.data();
    const std::size_t n = std::size_t{1} << m;
    table_[0] = 1.0;
    for (std::size_t h = 1, s = 0; h < n; h *= 2, ++s) {
        const std::size_t t = n / (2 * h);
        for (std::size_t j = 1; j < h; j += 2)
            table_[j * t] = Multiply(table_[(j - 1) * t], TwiddleSeeds[s]);
        Complex* stage = byStage_.data() + (h - 1);
        for (std::size_t j = 0; j < h; ++j) stage[j] = table_[j * t];
    }
    order_ = m;
    return table_.data();
}

void Fft(std::int32_t m, Complex* x, FftTwiddles& twiddles) {
    assert(m >= 0 && m <= twiddles.MaxOrder());
    if (m < 1 || m > twiddles.MaxOrder()) return;
    ReverseBits(m, x);
    twiddles.For(m);
    const Complex* w = twiddles.ByStage();
    const std::size_t n = std::size_t{1} << m;

    if (m == 1) {
        Stage(x, 0, n, 1, w);
        return;
    }
    const std::size_t block = m < kBlockOrder ? n : std::size_t{1} << kBlockOrder;
    for (std::size_t b = 0; b < n; b += block) {
        FirstTwoStages(x, b, b + block);
        Stages(x, b, b + block, 4, block, w);
    }
    Stages(x, 0, n, block, n, w);
}

}  // namespace qx40
