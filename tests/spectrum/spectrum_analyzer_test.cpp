#include "spectrum/spectrum_analyzer.h"

#include <gtest/gtest.h>

#include <limits>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "device/sample_record.h"
#include "spectrum/fft_window.h"
#include "spectrum/spectrum_mode.h"

namespace qx40 {
namespace {

constexpr std::int32_t kOneVoltPerDiv = 1000000;
// A sine whose peaks reach the top and bottom grid lines at 1 V/div.
const double kFullScaleDbv = 20 * std::log10(4 * 0.7071067811865475);

FrameInfo Record(std::int32_t valid, std::int32_t length) {
    FrameInfo f;
    f[fi::RingLength] = length;
    f[fi::ValidPoints] = valid;
    return f;
}

FrameInfo Roll(std::int32_t valid, std::int32_t length, std::int32_t writePos) {
    FrameInfo f = Record(valid, length);
    f[fi::RollFrame] = 1;
    f[fi::WritePos] = writePos;
    return f;
}

// Codes of a sine around code 128, `cycles` periods per `period` samples.
std::vector<std::int32_t> Sine(double amplitude, double cycles, std::int32_t period,
                               std::int32_t count) {
    std::vector<std::int32_t> b(kRecordSlots, kEmptySample);
    for (std::int32_t i = 0; i < count; ++i)
        b[i] = static_cast<std::int32_t>(
            std::lround(128 + amplitude * std::sin(2 * std::numbers::pi * cycles * i / period)));
    return b;
}

std::int32_t PeakColumn(const SpectrumResult& r) {
    std::int32_t best = 0;
    for (std::int32_t c : r.Columns) best = std::max(best, c);
    return best;
}

TEST(SpectrumAnalyzer, FullScreenSineIsAtFullScaleInEveryWindow) {
    SpectrumAnalyzer a;
    // 100 whole cycles in 1024 samples: the line sits on bin 100.
    const std::vector<std::int32_t> sine = Sine(128, 100, 1024, 1024);
    for (std::int32_t w = 0; w < kFftWindowCount; ++w) {
        const SpectrumResult& r = a.ComputeSpectrum({.SizeIndex = 0, .Window = w}, sine,
                                                    kOneVoltPerDiv, Record(1024, 1024));
        ASSERT_TRUE(r.PeakValid) << w;
        EXPECT_NEAR(r.PeakLevel, kFullScaleDbv, 0.05) << "window " << w;
        EXPECT_NEAR(r.PeakFreq * 512, 100.0, 1e-5) << "window " << w;
        EXPECT_EQ(r.TopDb, 10);
        EXPECT_EQ(r.Columns.size(), 512u);
    }
    EXPECT_NEAR(kFullScaleDbv, 9.0309, 1e-4);
}

TEST(SpectrumAnalyzer, ColumnsRiseFromTheBottomLineAtThreePointTwoCodesPerDb) {
    SpectrumAnalyzer a;
    const std::vector<std::int32_t> sine = Sine(128, 100, 1024, 1024);
    const SpectrumResult& r = a.ComputeSpectrum({.SizeIndex = 0, .Window = kWindowRectangular},
                                                sine, kOneVoltPerDiv, Record(1024, 1024));
    // 9.03 dBV over a bottom line of 10 - 80 dBV.
    EXPECT_EQ(r.Columns[100], 253);
    EXPECT_EQ(PeakColumn(r), 253);
    // A line 20 dB lower stands 64 codes lower.
    const SpectrumResult& low =
        a.ComputeSpectrum({.SizeIndex = 0, .Window = kWindowRectangular},
                          Sine(12.8, 100, 1024, 1024), kOneVoltPerDiv, Record(1024, 1024));
    EXPECT_NEAR(low.Columns[100], 253 - 64, 1);
    EXPECT_NEAR(low.PeakLevel, kFullScaleDbv - 20, 0.05);
    // The storage past N/2 holds no heights.
    EXPECT_EQ(a.SpectrumColumns()[512], kEmptySample);
    EXPECT_EQ(a.SpectrumColumns()[kRecordSlots - 1], kEmptySample);
}

TEST(SpectrumAnalyzer, FlatTopReadsTheLevelBetweenBins) {
    SpectrumAnalyzer a;
    for (double cycles : {100.25, 100.5, 333.7}) {
        const SpectrumResult& r =
            a.ComputeSpectrum({.SizeIndex = 0, .Window = kWindowFlatTop},
                              Sine(128, cycles, 1024, 1024), kOneVoltPerDiv, Record(1024, 1024));
        EXPECT_NEAR(r.PeakLevel, kFullScaleDbv, 0.02) << cycles;
        EXPECT_NEAR(r.PeakFreq * 512, cycles, 0.1) << cycles;
    }
}

TEST(SpectrumAnalyzer, HannFindsTheFrequencyBetweenBins) {
    SpectrumAnalyzer a;
    const SpectrumResult& r =
        a.ComputeSpectrum({.SizeIndex = 0, .Window = kWindowHann}, Sine(100, 200.3, 1024, 1024),
                          kOneVoltPerDiv, Record(1024, 1024));
    EXPECT_NEAR(r.PeakFreq * 512, 200.3, 0.02);
}

TEST(SpectrumAnalyzer, ScaleShiftsEveryLevelByItsOffset) {
    const std::vector<std::int32_t> sine = Sine(128, 100, 1024, 1024);
    struct Case {
        std::int32_t scale;
        double offset;
        std::int32_t top;
    };
    const Case cases[] = {
        {0, 0.0, 10}, {1, 13.0102999566, 25}, {2, 11.2493873661, 20}, {3, 2.2184874961, 15}};
    for (const Case& c : cases) {
        SpectrumAnalyzer a;
        const SpectrumResult& r =
            a.ComputeSpectrum({.SizeIndex = 0, .Window = kWindowHann, .Scale = c.scale}, sine,
                              kOneVoltPerDiv, Record(1024, 1024));
        SpectrumAnalyzer dbv;
        const SpectrumResult& base = dbv.ComputeSpectrum({.SizeIndex = 0, .Window = kWindowHann},
                                                         sine, kOneVoltPerDiv, Record(1024, 1024));
        EXPECT_NEAR(r.PeakLevel - base.PeakLevel, c.offset, 1e-9) << c.scale;
        EXPECT_EQ(r.TopDb, c.top) << c.scale;
        EXPECT_EQ(r.PeakFreq, base.PeakFreq);
    }
}

TEST(SpectrumAnalyzer, TopLineFollowsVoltsPerDivision) {
    struct Case {
        std::int32_t microvolts;
        std::int32_t top;
    };
    // Full scale: 2 mV/div -44.95 dBV, 10 mV/div -30.97, 5 V/div 23.01.
    const Case cases[] = {{2000, -45}, {10000, -30}, {5000000, 25}};
    const std::vector<std::int32_t> sine = Sine(128, 100, 1024, 1024);
    for (const Case& c : cases) {
        SpectrumAnalyzer a;
        const SpectrumResult& r =
            a.ComputeSpectrum({.Window = kWindowHann}, sine, c.microvolts, Record(1024, 1024));
        EXPECT_EQ(r.TopDb, c.top) << c.microvolts;
        EXPECT_NEAR(r.PeakLevel, 20 * std::log10(c.microvolts * 4e-6 * 0.7071067811865475), 0.05);
    }
}

TEST(SpectrumAnalyzer, AutomaticSizeWithZeroPadding) {
    // Size 6 and 5000 valid samples: N 8192, n 5000, fill 0.61, K 6.
    const std::int32_t index = SpectrumSizeIndexFor(6, 5000);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(PeakEstimateReach(5000, 8192), 6);
    SpectrumAnalyzer a;
    const SpectrumResult& r =
        a.ComputeSpectrum({.SizeIndex = index, .Window = kWindowHann}, Sine(128, 300, 5000, 5000),
                          kOneVoltPerDiv, Record(5000, 5000));
    EXPECT_EQ(r.SizeIndex, 3);
    EXPECT_EQ(r.Columns.size(), 4096u);
    ASSERT_TRUE(r.PeakValid);
    // Zero padding spreads the line over more bins; the level stays put.
    EXPECT_NEAR(r.PeakLevel, kFullScaleDbv, 0.1);
    EXPECT_NEAR(r.PeakFreq, 2.0 * 300 / 5000, 1e-4);
}

TEST(SpectrumAnalyzer, FixedSizeReadsOnlyTheFirstSlots) {
    // Size 0 and 20000 samples: slots 1024 on do not enter; K 4.
    EXPECT_EQ(PeakEstimateReach(1024, 1024), 4);
    std::vector<std::int32_t> b = Sine(100, 50, 1024, 20000);
    std::vector<std::int32_t> firstOnly = b;
    for (std::size_t i = 1024; i < 20000; ++i) b[i] = (i / 7) % 2 ? 250 : 3;
    SpectrumAnalyzer a, reference;
    const SpectrumResult& r =
        a.ComputeSpectrum({.SizeIndex = 0}, b, kOneVoltPerDiv, Record(20000, 20000));
    const SpectrumResult& ref =
        reference.ComputeSpectrum({.SizeIndex = 0}, firstOnly, kOneVoltPerDiv, Record(1024, 1024));
    EXPECT_EQ(r.Columns.size(), 512u);
    EXPECT_TRUE(std::equal(r.Columns.begin(), r.Columns.end(), ref.Columns.begin()));
    EXPECT_EQ(r.PeakLevel, ref.PeakLevel);
    EXPECT_EQ(r.PeakFreq, ref.PeakFreq);
}

TEST(SpectrumAnalyzer, SizeIndexOutsideItsRangeMeans1024) {
    SpectrumAnalyzer a;
    const std::vector<std::int32_t> sine = Sine(128, 100, 1024, 4096);
    for (std::int32_t index : {-1, 0, 6, 99})
        EXPECT_EQ(a.ComputeSpectrum({.SizeIndex = index}, sine, kOneVoltPerDiv, Record(4096, 4096))
                      .Columns.size(),
                  512u)
            << index;
    EXPECT_EQ(a.ComputeSpectrum({.SizeIndex = 5}, sine, kOneVoltPerDiv, Record(4096, 4096))
                  .Columns.size(),
              16384u);
}

TEST(SpectrumAnalyzer, ConstantRecordHasNoPeak) {
    SpectrumAnalyzer a;
    const std::vector<std::int32_t> flat(kRecordSlots, 77);
    const SpectrumResult& r = a.ComputeSpectrum({.SizeIndex = 2, .Window = kWindowHann}, flat,
                                                kOneVoltPerDiv, Record(4096, 4096));
    EXPECT_FALSE(r.PeakValid);
    EXPECT_EQ(r.TopDb, 10);
    ASSERT_EQ(r.Columns.size(), 2048u);
    for (std::int32_t c : r.Columns) ASSERT_EQ(c, 0);
}

TEST(SpectrumAnalyzer, EmptySlotsAddNothing) {
    // A constant record with a few slots that hold no sample is still
    // constant: no line, rather than a spike made of the empty marker.
    std::vector<std::int32_t> b(kRecordSlots, 90);
    for (std::size_t i : {3u, 500u, 1023u}) b[i] = kEmptySample;
    SpectrumAnalyzer a;
    const SpectrumResult& r =
        a.ComputeSpectrum({.SizeIndex = 0}, b, kOneVoltPerDiv, Record(1024, 1024));
    EXPECT_FALSE(r.PeakValid);
    EXPECT_EQ(r.Columns.size(), 512u);
}

TEST(SpectrumAnalyzer, NothingToAnalyse) {
    SpectrumAnalyzer a;
    const std::vector<std::int32_t> sine = Sine(100, 10, 1024, 1024);
    struct Case {
        const char* what;
        FrameInfo frame;
        std::int32_t microvolts;
        std::size_t slots;
    };
    const Case cases[] = {
        {"no valid samples", Record(0, 1024), kOneVoltPerDiv, kRecordSlots},
        {"one sample", Record(1, 1024), kOneVoltPerDiv, kRecordSlots},
        {"no volts per division", Record(1024, 1024), 0, kRecordSlots},
        {"roll ring longer than the buffer", Roll(1024, 50000, 10), kOneVoltPerDiv, kRecordSlots},
        {"roll ring of no length", Roll(1024, 0, 10), kOneVoltPerDiv, kRecordSlots},
        {"buffer shorter than the record", Record(1024, 1024), kOneVoltPerDiv, 1},
        {"every slot empty", Record(1024, 1024), kOneVoltPerDiv, 0},
    };
    const std::vector<std::int32_t> empty(kRecordSlots, kEmptySample);
    for (const Case& c : cases) {
        const std::span<const std::int32_t> buffer =
            c.slots == 0 ? std::span<const std::int32_t>(empty)
                         : std::span<const std::int32_t>(sine).first(c.slots);
        const SpectrumResult& r =
            a.ComputeSpectrum({.SizeIndex = 0}, buffer, c.microvolts, c.frame);
        EXPECT_FALSE(r.PeakValid) << c.what;
        EXPECT_TRUE(r.Columns.empty()) << c.what;
        EXPECT_EQ(a.SpectrumColumns()[0], kEmptySample) << c.what;
    }
}

TEST(SpectrumAnalyzer, OutOfRangeSettingsAreClamped) {
    const std::vector<std::int32_t> sine = Sine(128, 100, 1024, 1024);
    SpectrumAnalyzer a, b;
    const SpectrumResult& wild =
        a.ComputeSpectrum({.Window = 40, .Scale = 9}, sine, kOneVoltPerDiv, Record(1024, 1024));
    const SpectrumResult& last = b.ComputeSpectrum({.Window = kWindowTriangular, .Scale = 3}, sine,
                                                   kOneVoltPerDiv, Record(1024, 1024));
    EXPECT_EQ(wild.PeakLevel, last.PeakLevel);
    EXPECT_EQ(wild.TopDb, last.TopDb);
}

// The samples newest first, as a roll record of `length` slots holds them
// with the write position at `writePos`; the other slots hold a square wave.
std::vector<std::int32_t> RollBuffer(const std::vector<std::int32_t>& newestFirst,
                                     std::int32_t length, std::int32_t writePos) {
    std::vector<std::int32_t> b(kRecordSlots, kEmptySample);
    for (std::int32_t i = 0; i < length; ++i) b[i] = (i / 5) % 2 ? 240 : 10;
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        std::int32_t slot = writePos - 1 - static_cast<std::int32_t>(i);
        if (slot < 0) slot += length;
        b[slot] = newestFirst[i];
    }
    return b;
}

TEST(SpectrumAnalyzer, RollRecordIsReadNewestFirst) {
    std::vector<std::int32_t> newestFirst = Sine(90, 37.5, 1024, 1024);
    newestFirst.resize(1024);
    std::vector<std::int32_t> linear(kRecordSlots, 0);
    std::copy(newestFirst.begin(), newestFirst.end(), linear.begin());
    // Just after the write position wrapped, with it mid-ring, and at 0.
    struct Case {
        std::int32_t valid, length, writePos;
    };
    const Case cases[] = {
        {2000, 2000, 700}, {2000, 2000, 1500}, {2000, 2000, 0}, {1024, 3000, 1024}};
    for (const Case& c : cases) {
        SpectrumAnalyzer roll, plain;
        const SpectrumArgs args{.SizeIndex = 0, .Window = kWindowBlackman};
        const SpectrumResult& r =
            roll.ComputeSpectrum(args, RollBuffer(newestFirst, c.length, c.writePos),
                                 kOneVoltPerDiv, Roll(c.valid, c.length, c.writePos));
        const SpectrumResult& p =
            plain.ComputeSpectrum(args, linear, kOneVoltPerDiv, Record(1024, 1024));
        ASSERT_TRUE(r.PeakValid);
        EXPECT_TRUE(std::equal(r.Columns.begin(), r.Columns.end(), p.Columns.begin()))
            << c.writePos;
        EXPECT_EQ(r.PeakLevel, p.PeakLevel) << c.writePos;
        EXPECT_EQ(r.PeakFreq, p.PeakFreq) << c.writePos;
    }
}

TEST(SpectrumAnalyzer, RollWritePositionBeyondTheRingWraps) {
    std::vector<std::int32_t> b(kRecordSlots, 60);
    for (std::int32_t i = 0; i < 1500; ++i) b[i] = 128 + (i % 8 < 4 ? 50 : -50);
    SpectrumAnalyzer a;
    const SpectrumResult& r =
        a.ComputeSpectrum({.SizeIndex = 0}, b, kOneVoltPerDiv, Roll(1500, 1500, 39999));
    EXPECT_TRUE(r.PeakValid);
    EXPECT_NEAR(r.PeakFreq, 2.0 / 8, 0.01);
}

// The record's volts/div word may hold anything up to the int32 limit:
// the level scales with it instead of wrapping round.
TEST(SpectrumAnalyzer, LevelsFollowTheLargestVoltsPerDivision) {
    const std::vector<std::int32_t> sine = Sine(100, 37, 1024, 1024);
    const SpectrumArgs args{.SizeIndex = 0, .Window = kWindowFlatTop};
    SpectrumAnalyzer one, largest;
    const SpectrumResult& r1 = one.ComputeSpectrum(args, sine, kOneVoltPerDiv, Record(1024, 1024));
    struct Case {
        std::int32_t microvolts, topDb;  // full scale 69.6 and 75.7 dBV
    };
    for (const Case c : {Case{1 << 30, 70}, Case{std::numeric_limits<std::int32_t>::max(), 80}}) {
        const SpectrumResult& r =
            largest.ComputeSpectrum(args, sine, c.microvolts, Record(1024, 1024));
        ASSERT_TRUE(r.PeakValid) << c.microvolts;
        EXPECT_NEAR(r.PeakLevel - r1.PeakLevel, 20 * std::log10(c.microvolts / 1e6), 1e-9)
            << c.microvolts;
        EXPECT_EQ(r.TopDb, c.topDb) << c.microvolts;
    }
}

// Any write position reads the ring from the slot before it modulo the
// ring, even the most negative word a file can hold.
TEST(SpectrumAnalyzer, RollWritePositionOfAnyWordActsByItsRemainder) {
    std::vector<std::int32_t> b(kRecordSlots, 60);
    for (std::int32_t i = 0; i < 1000; ++i) b[i] = 128 + (i % 10 < 5 ? i / 10 : -i / 10);
    struct Case {
        std::int32_t wild, same;  // same = wild modulo 1000, in 0..999
    };
    const Case cases[] = {{std::numeric_limits<std::int32_t>::min(), 352},
                          {std::numeric_limits<std::int32_t>::max(), 647},
                          {-1, 999}};
    for (const Case& c : cases) {
        SpectrumAnalyzer wild, same;
        const SpectrumArgs args{.SizeIndex = 0, .Window = kWindowHann};
        const SpectrumResult& w =
            wild.ComputeSpectrum(args, b, kOneVoltPerDiv, Roll(1000, 1000, c.wild));
        const SpectrumResult& s =
            same.ComputeSpectrum(args, b, kOneVoltPerDiv, Roll(1000, 1000, c.same));
        ASSERT_TRUE(s.PeakValid);
        EXPECT_TRUE(
            std::equal(w.Columns.begin(), w.Columns.end(), s.Columns.begin(), s.Columns.end()))
            << c.wild;
        EXPECT_EQ(w.PeakLevel, s.PeakLevel) << c.wild;
    }
}

std::vector<std::int32_t> NoisySine(std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 8.0);
    std::vector<std::int32_t> b(kRecordSlots, kEmptySample);
    for (std::int32_t i = 0; i < 4096; ++i)
        b[i] = static_cast<std::int32_t>(
            std::lround(128 + 60 * std::sin(2 * std::numbers::pi * 301 * i / 4096) + noise(rng)));
    return b;
}

double StandardDeviation(std::span<const std::int32_t> values) {
    double sum = 0, squares = 0;
    for (std::int32_t v : values) {
        sum += v;
        squares += static_cast<double>(v) * v;
    }
    const double mean = sum / values.size();
    return std::sqrt(squares / values.size() - mean * mean);
}

TEST(SpectrumAnalyzer, AveragingSumsPowersAndCounts) {
    const std::vector<std::int32_t> first = NoisySine(1), second = NoisySine(2);
    const FrameInfo frame = Record(4096, 4096);
    const SpectrumArgs plain{.SizeIndex = 2, .Window = kWindowHann};
    SpectrumAnalyzer one, two, both;
    one.ComputeSpectrum(plain, first, kOneVoltPerDiv, frame);
    two.ComputeSpectrum(plain, second, kOneVoltPerDiv, frame);
    EXPECT_EQ(both.ComputeSpectrum(plain, first, kOneVoltPerDiv, frame).AverageCount, 1);
    SpectrumArgs averaging = plain;
    averaging.Averaging = true;
    const SpectrumResult& r = both.ComputeSpectrum(averaging, second, kOneVoltPerDiv, frame);
    EXPECT_EQ(r.AverageCount, 2);
    for (std::size_t k = 0; k < 2048; ++k)
        ASSERT_EQ(both.SpectrumPower()[k], one.SpectrumPower()[k] + two.SpectrumPower()[k]) << k;
    EXPECT_EQ(both.ComputeSpectrum(averaging, NoisySine(3), kOneVoltPerDiv, frame).AverageCount, 3);
    // Averaging off restarts: the count is 1 and the sum holds one spectrum.
    const SpectrumResult& restarted = both.ComputeSpectrum(plain, second, kOneVoltPerDiv, frame);
    EXPECT_EQ(restarted.AverageCount, 1);
    for (std::size_t k = 0; k < 2048; ++k)
        ASSERT_EQ(both.SpectrumPower()[k], two.SpectrumPower()[k]) << k;
    EXPECT_EQ(both.ComputeSpectrum(averaging, first, kOneVoltPerDiv, frame).AverageCount, 2);
}

TEST(SpectrumAnalyzer, AveragingSettlesTheNoiseFloor) {
    const FrameInfo frame = Record(4096, 4096);
    SpectrumAnalyzer a;
    const SpectrumResult& single = a.ComputeSpectrum({.SizeIndex = 2, .Window = kWindowHann},
                                                     NoisySine(10), kOneVoltPerDiv, frame);
    const double singleSpread = StandardDeviation(single.Columns.subspan(1000, 1000));
    const double singleLevel = single.PeakLevel;
    for (std::uint32_t seed = 11; seed < 74; ++seed)
        a.ComputeSpectrum({.SizeIndex = 2, .Window = kWindowHann, .Averaging = true},
                          NoisySine(seed), kOneVoltPerDiv, frame);
    const SpectrumResult& r = a.Result();
    EXPECT_EQ(r.AverageCount, 64);
    // The spread of a power average falls with the square root of the count.
    EXPECT_LT(StandardDeviation(r.Columns.subspan(1000, 1000)), singleSpread / 4);
    EXPECT_NEAR(r.PeakLevel, singleLevel, 0.05);
    EXPECT_NEAR(r.PeakFreq * 2048, 301, 0.01);
}

TEST(SpectrumAnalyzer, AnotherSizeStartsANewAverage) {
    SpectrumAnalyzer a;
    const SpectrumArgs averaging{.SizeIndex = 2, .Window = kWindowHann, .Averaging = true};
    a.ComputeSpectrum(averaging, NoisySine(1), kOneVoltPerDiv, Record(4096, 4096));
    EXPECT_EQ(
        a.ComputeSpectrum(averaging, NoisySine(2), kOneVoltPerDiv, Record(4096, 4096)).AverageCount,
        2);
    SpectrumArgs smaller = averaging;
    smaller.SizeIndex = 1;
    EXPECT_EQ(
        a.ComputeSpectrum(smaller, NoisySine(3), kOneVoltPerDiv, Record(4096, 4096)).AverageCount,
        1);
    SpectrumAnalyzer fresh;
    fresh.ComputeSpectrum({.SizeIndex = 1, .Window = kWindowHann}, NoisySine(3), kOneVoltPerDiv,
                          Record(4096, 4096));
    for (std::size_t k = 0; k < 1024; ++k)
        ASSERT_EQ(a.SpectrumPower()[k], fresh.SpectrumPower()[k]) << k;
}

TEST(SpectrumAnalyzer, CallsReuseTheirStorage) {
    SpectrumAnalyzer a;
    const auto* buffer = a.SpectrumBuffer();
    const auto* power = a.SpectrumPower();
    const auto* columns = a.SpectrumColumns();
    const std::vector<std::int32_t> sine = Sine(100, 1000, 32768, 32768);
    for (std::int32_t index : {5, 0, 3, 5, 1}) {
        for (std::int32_t w = 0; w < kFftWindowCount; ++w) {
            const SpectrumResult& r =
                a.ComputeSpectrum({.SizeIndex = index, .Window = w, .Averaging = true}, sine,
                                  kOneVoltPerDiv, Record(30000 - 1000 * w, 30000));
            ASSERT_EQ(r.Columns.data(), columns);
        }
        EXPECT_EQ(a.SpectrumBuffer(), buffer);
        EXPECT_EQ(a.SpectrumPower(), power);
        EXPECT_EQ(a.SpectrumColumns(), columns);
    }
}

}  // namespace
}  // namespace qx40
