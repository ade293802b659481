// The simulated generator: what its registers make of the A1 signal.
#include "device/usb/sim/sim_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/little_endian.h"
#include "generator/generator_words.h"

namespace qx40 {
namespace {

constexpr std::uint64_t kOneKiloHertz = 2814749767;  // 10000 x 0.1 Hz x 281474.976710656, rounded

struct Words {
    std::uint8_t mode = 0;
    std::uint8_t shape = 0x50;
    std::uint64_t freq = kOneKiloHertz;
    std::uint64_t second = 0;
    std::uint64_t amplitude = 2001;  // 2 Vpp
    std::uint64_t modulation = 0;
    std::uint8_t gainA1 = 0x07;
    std::uint32_t divider = 1;
    std::uint16_t post = 1000;
};

std::array<std::uint8_t, 128> Regs(const Words& w) {
    std::array<std::uint8_t, 128> r{};
    PutLE<4>(&r[4], w.divider);
    PutLE<2>(&r[10], w.post);
    r[70] = w.gainA1;
    r[96] = w.mode;
    r[97] = w.shape;
    PutLE<6>(&r[98], w.freq);
    PutLE<6>(&r[104], w.second);
    PutLE<2>(&r[110], w.amplitude);
    PutLE<6>(&r[112], w.modulation);
    return r;
}

std::uint64_t Word(double hz) {
    return static_cast<std::uint64_t>(std::llround(hz * 10.0 * kPhasePerDeciHertz));
}

// Rising zero crossings in [from, from + span).
int RisingCrossings(const SimGenerator& g, std::int64_t from, std::int64_t span,
                    double level = 0.0) {
    int n = 0;
    for (std::int64_t t = from + 1; t < from + span; ++t)
        n += g.Volts(t - 1) <= level && g.Volts(t) > level;
    return n;
}

double LargestMagnitude(const SimGenerator& g, std::int64_t from, std::int64_t span) {
    double m = 0.0;
    for (std::int64_t t = from; t < from + span; ++t) m = std::max(m, std::abs(g.Volts(t)));
    return m;
}

struct ShapeCase {
    std::uint8_t shape;
    double at[4];  // at 1/8, 3/8, 5/8 and 7/8 of a period, in volts for 2 Vpp
};

TEST(SimGenerator, WaveformsOverOnePeriod) {
    const double s = std::sqrt(0.5);
    const ShapeCase cases[] = {
        {0, {s, s, -s, -s}},              // sine
        {1, {-0.75, -0.25, 0.25, 0.75}},  // rising ramp
        {2, {0.75, 0.25, -0.25, -0.75}},  // falling ramp
        {3, {1, 1, -1, -1}},              // rectangle
        {4, {-0.5, 0.5, 0.5, -0.5}},      // triangle
        {5, {0, 0, 0, 0}},                // constant
    };
    for (const ShapeCase& c : cases) {
        Words w;
        w.shape = static_cast<std::uint8_t>(0x50 | c.shape);
        const SimGenerator g(Regs(w), 1);
        for (int i = 0; i < 4; ++i) {
            const std::int64_t tick = 12500 + 25000 * i + 300000;  // in the fourth period
            EXPECT_NEAR(g.Volts(tick), c.at[i], 1e-4)
                << "shape " << int(c.shape) << " eighth " << 2 * i + 1;
        }
        EXPECT_NEAR(g.DcVolts(), 0.0, 1e-12);
        EXPECT_NEAR(g.PeriodTicks(), c.shape == 5 ? 0.0 : 100000.0, 1e-3);
    }
}

TEST(SimGenerator, AmplitudeWordLessOneIsMillivoltsPeakToPeak) {
    for (const auto& [word, vpp] :
         {std::pair{4001ull, 4.0}, {2001ull, 2.0}, {95ull, 0.094}, {1ull, 0.0}}) {
        Words w;
        w.amplitude = word;
        const SimGenerator g(Regs(w), 1);
        EXPECT_NEAR(g.Volts(25000), vpp / 2.0, 1e-6) << word;
        EXPECT_NEAR(g.MaxVolts() - g.MinVolts(), vpp, 1e-9) << word;
    }
}

TEST(SimGenerator, OutputOffIsZeroVolts) {
    Words off;
    off.gainA1 |= 0x08;  // the generator-off bit
    Words constant;
    constant.shape = 0x55;  // what the program sends with the output off: mode 0, shape 5
    for (const Words& w : {off, constant}) {
        const SimGenerator g(Regs(w), 1);
        for (std::int64_t t : {0, 777, 25000, 123456789}) EXPECT_EQ(g.Volts(t), 0.0);
        EXPECT_EQ(g.PeriodTicks(), 0.0);
        EXPECT_EQ(g.MaxVolts(), 0.0);
    }
}

TEST(SimGenerator, PulseHasItsPeriodAndWidthInTicks) {
    Words w;
    w.mode = 7;
    w.freq = 999;    // period - 1
    w.second = 250;  // width
    const SimGenerator g(Regs(w), 1);
    for (std::int64_t t : {0, 249, 5000, 5249}) EXPECT_EQ(g.Volts(t), 1.0) << t;
    for (std::int64_t t : {250, 999, 5250, 5999}) EXPECT_EQ(g.Volts(t), -1.0) << t;
    EXPECT_EQ(g.NextChange(0), 250);
    EXPECT_EQ(g.NextChange(250), 1000);
    EXPECT_EQ(g.NextChange(999), 1000);
    EXPECT_EQ(g.PeriodTicks(), 1000.0);
    EXPECT_DOUBLE_EQ(g.DcVolts(), -0.5);

    w.second = 0;  // no pulse at all
    const SimGenerator flat(Regs(w), 1);
    EXPECT_EQ(flat.Volts(0), -1.0);
    EXPECT_EQ(flat.PeriodTicks(), 0.0);
    EXPECT_EQ(flat.NextChange(0), std::numeric_limits<std::int64_t>::max());
}

TEST(SimGenerator, NoiseStaysWithinTheAmplitudeAndRepeatsForTheSeed) {
    Words w;
    w.shape = 0x57;
    const SimGenerator g(Regs(w), 5), same(Regs(w), 5), other(Regs(w), 6);
    double sum = 0.0, squares = 0.0;
    int differs = 0;
    for (std::int64_t t = 0; t < 50000; ++t) {
        const double v = g.Volts(t);
        ASSERT_LE(std::abs(v), 1.0);
        sum += v;
        squares += v * v;
        ASSERT_EQ(v, same.Volts(t));
        differs += v != other.Volts(t);
    }
    EXPECT_NEAR(sum / 50000, 0.0, 0.05);
    EXPECT_NEAR(std::sqrt(squares / 50000), 1.0 / std::sqrt(3.0), 0.05) << "uniform";
    EXPECT_GT(differs, 40000);
    EXPECT_EQ(g.PeriodTicks(), 0.0);
}

TEST(SimGenerator, SweepRaisesTheFrequencyOverThePostTriggerPoints) {
    Words w;
    w.mode = 1;
    w.freq = Word(10000.0);
    w.divider = 100;
    w.post = 1000;  // a sweep of 100000 ticks
    // The program's second word: the span's phase increment per post-trigger point.
    w.second = static_cast<std::uint64_t>(
        std::llround(1000000.0 * kPhasePerDeciHertz / 1000.0));  // 100 kHz span
    const SimGenerator g(Regs(w), 1);
    const int early = RisingCrossings(g, 0, 10000), late = RisingCrossings(g, 90000, 10000);
    EXPECT_NEAR(early, 1.5, 1.0);  // ~15 kHz over 0.1 ms
    EXPECT_NEAR(late, 10.5, 1.0);  // ~105 kHz
    EXPECT_EQ(RisingCrossings(g, 100000, 10000), early) << "the sweep starts again";
}

TEST(SimGenerator, ModulationModes) {
    const std::uint64_t carrier = Word(100000.0), modulating = Word(1000.0);
    // AM, depth 50 %: Mod_K 500 as the program computes its word.
    Words am;
    am.mode = 2;
    am.shape = 0x00;  // sine carrier, sine modulating signal
    am.freq = carrier;
    am.modulation = modulating;
    am.second = static_cast<std::uint64_t>(std::llround(500 * 32.76775 * 2001 * 0.000244140625));
    const SimGenerator a(Regs(am), 1);
    EXPECT_NEAR(LargestMagnitude(a, 24000, 2000), 0.75, 0.01) << "envelope peak";
    EXPECT_NEAR(LargestMagnitude(a, 74000, 2000), 0.25, 0.01) << "envelope trough";

    // SUM of a constant carrier and half the modulating signal.
    Words sum;
    sum.mode = 4;
    sum.shape = 0x06;
    sum.modulation = modulating;
    sum.second = static_cast<std::uint64_t>(std::llround(500 * 32.76775));
    const SimGenerator s(Regs(sum), 1);
    EXPECT_NEAR(s.Volts(25000), 0.75, 0.001);
    EXPECT_NEAR(s.Volts(75000), 0.25, 0.001);
    EXPECT_NEAR(s.DcVolts(), 0.5, 1e-9);

    // FM with 10 kHz deviation: faster at the modulating peak than at the trough.
    Words fm;
    fm.mode = 3;
    fm.shape = 0x00;
    fm.freq = carrier;
    fm.modulation = modulating;
    fm.second = static_cast<std::uint64_t>(std::llround(1000 * 6.714164800781632));
    const SimGenerator f(Regs(fm), 1);
    const int fast = RisingCrossings(f, 15000, 20000), slow = RisingCrossings(f, 65000, 20000);
    EXPECT_NEAR(fast, 21.0, 1.5);
    EXPECT_NEAR(slow, 19.0, 1.5);
    EXPECT_GT(fast, slow);
}

TEST(SimGenerator, SearchStepNeverStepsOverAnEdge) {
    for (const double hz : {0.1, 1000.0, 1e6, 5e7}) {
        Words w;
        w.freq = Word(hz);
        const SimGenerator g(Regs(w), 1);
        EXPECT_GE(g.ScanStep(), 1);
        EXPECT_LE(static_cast<double>(g.ScanStep()), std::max(1.0, 1e8 / hz / 32.0)) << hz;
    }
}

}  // namespace
}  // namespace qx40
