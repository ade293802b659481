// What the simulated instrument offers the calibrations: zero lines that
// follow the offset code and the range as the zero calibration's arithmetic
// assumes, TDC fine counts with the instrument's own step counts, and the
// faults that make each procedure fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

#include "base/round_nearest.h"
#include "device/usb/sim/simulated_link.h"
#include "scope/build_device_settings.h"
#include "sim_test_support.h"

namespace qx40 {
namespace {

using sim_test::Bench;
using sim_test::DataFrames;
using sim_test::Frame;
using sim_test::kMs;
using sim_test::RegisterSetup;
using sim_test::Unpack;

// --- Zero ------------------------------------------------------------------

struct Spread {
    double mean = 0.0;
    int peakToPeak = 0;
};

Spread Measure(const std::vector<int>& v) {
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return {std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size()), *hi - *lo};
}

// Both inputs as the zero calibration sets the instrument up: 5000 samples
// at 2 ms/div, untriggered, the given range code (0x3B is 2 V/div, 0x38
// 50 mV/div) and offset code on both channels.
std::array<Spread, 2> ZeroFrame(Bench& bench, std::uint8_t gain, std::uint16_t offset) {
    RegisterSetup setup;
    setup.sampleCount = 5000;
    setup.pre = 0;
    setup.divider = 400;
    setup.enable = 0x03;
    setup.genHz = 0.0;
    setup.gain[0] = setup.gain[1] = gain;
    setup.offset[0] = setup.offset[1] = offset;
    bench.Send(setup);
    bench.Drain();
    const auto frames = DataFrames(bench.Run(60 * kMs, setup.sampleCount));
    EXPECT_FALSE(frames.empty());
    if (frames.empty()) return {};
    const auto ch = Unpack(frames.back(), setup.sampleCount, {true, true, false, false});
    return {Measure(ch[0]), Measure(ch[1])};
}

TEST(SimCalibration, ZeroCalibrationArithmeticFindsTheInstrumentsConstants) {
    // The procedure's three stages, each the mean of three offset codes 19
    // apart, and its arithmetic: what it stores must be the constants the
    // instrument was given, within a sixteenth of a code.
    SimInstrumentConfig config;
    config.Zero[0] = {3500, 620, 160};
    config.Zero[1] = {3100, 800, -48};
    Bench bench(config);
    bench.LoadPlaceholder();
    struct Stage {
        std::uint8_t gain;
        std::uint16_t centre;
    };
    const Stage stages[] = {{0x3B, 1360}, {0x3B, 3040}, {0x38, 2200}};
    std::array<std::array<double, 3>, 2> p{};  // per channel: P1, P2, P3 in 1/16 code
    for (std::size_t s = 0; s < 3; ++s) {
        for (const int delta : {0, -19, 19}) {
            const auto zero = ZeroFrame(bench, stages[s].gain,
                                        static_cast<std::uint16_t>(stages[s].centre + delta));
            for (std::size_t c = 0; c < 2; ++c) {
                EXPECT_LE(zero[c].peakToPeak, 1) << "unplugged: only the converter's noise";
                p[c][s] += zero[c].mean * 16.0 / 3.0;
            }
        }
    }
    for (std::size_t c = 0; c < 2; ++c) {
        const double d = p[c][2] - (p[c][0] + p[c][1]) * 0.5;
        EXPECT_NEAR(RoundNearest(p[c][0] - d / 39.0), config.Zero[c].P1, 1) << "A" << c + 1;
        EXPECT_NEAR(RoundNearest(p[c][1] - d / 39.0), config.Zero[c].P2, 1) << "A" << c + 1;
        EXPECT_NEAR(RoundNearest(40.0 * d / 39.0), config.Zero[c].SH, 1) << "A" << c + 1;
    }
}

TEST(SimCalibration, InputOffsetGrowsFortyfoldFrom2VTo50mV) {
    SimInstrumentConfig config;
    config.Zero[0] = {3200, 800, 320};  // SH: 20 codes at 50 mV/div, half a code at 2 V/div
    config.Zero[1] = {3200, 800, 0};
    Bench bench(config);
    bench.LoadPlaceholder();
    // At the middle code 2200 the zero line lies at (P1 + P2) / 32 = 125
    // codes, plus SH x 50 mV / range.
    const auto at2V = ZeroFrame(bench, 0x3B, 2200);
    const auto at50mV = ZeroFrame(bench, 0x38, 2200);
    EXPECT_NEAR(at2V[0].mean, 125.5, 0.05);
    EXPECT_NEAR(at50mV[0].mean, 145.0, 0.05);
    EXPECT_NEAR(at2V[1].mean, 125.0, 0.05);
    EXPECT_NEAR(at50mV[1].mean, 125.0, 0.05);
}

TEST(SimCalibration, InputLeftConnectedMakesTheSpreadTooLarge) {
    // The bench stays on the inputs and a circuit adds 50 Hz hum: more than
    // the 12 codes (16 at 50 mV/div) the procedure accepts.
    SimInstrumentConfig config;
    config.Faults.InputConnected = true;
    Bench bench(config);
    bench.LoadPlaceholder();
    for (const std::uint8_t gain : {0x3B, 0x38}) {
        const auto zero = ZeroFrame(bench, gain, 2200);
        for (std::size_t c = 0; c < 2; ++c) EXPECT_GT(zero[c].peakToPeak, 16) << "A" << c + 1;
    }
}

TEST(SimCalibration, OtherSettingsKeepTheBenchOnTheInputs) {
    // The person at the bench unplugs only for the zero calibration: A2's
    // sine is there at 2 V/div with the generator off and AC coupling.
    Bench bench;
    bench.LoadPlaceholder();
    const auto zero = ZeroFrame(bench, 0x13, 2200);
    EXPECT_LE(zero[0].peakToPeak, 1) << "A1: the generator is off";
    EXPECT_GE(zero[1].peakToPeak, 16) << "A2: 1 Vpp";
}

// The program's zero lines on the simulated instrument with the program's
// calibration as given.
std::array<double, 2> ZeroLines(const CalibrateSection& calibration) {
    SimInstrumentConfig config;
    config.Bench.A2Connected = false;
    Bench bench(config);
    bench.LoadPlaceholder();
    ScopeModel m;
    m.state.Calibrate = calibration;
    m.state.View.Run = RunButton::Run;
    RecordLevels background;
    BuildDeviceSettings(m, true, false, background);
    bench.Send(m.registers);
    const auto frames = DataFrames(bench.Run(100 * kMs, m.derived.SampleCount));
    EXPECT_FALSE(frames.empty());
    if (frames.empty()) return {};
    const auto ch = Unpack(frames.back(), m.derived.SampleCount, {true, true, true, true});
    return {Measure(ch[0]).mean, Measure(ch[1]).mean};
}

TEST(SimCalibration, UncalibratedZeroLinesAreOffAndCalibratedOnesInPlace) {
    const SimInstrumentConfig sim;
    // What the program reads from a settings file without calibration.
    const auto uncalibrated = ZeroLines({0, 3357, 725, 0, 3357, 725, 0});
    EXPECT_GT(std::abs(uncalibrated[0] - 191.0), 3.0) << uncalibrated[0];
    EXPECT_LT(std::abs(uncalibrated[0] - 191.0), 8.0) << "still near the default place";
    EXPECT_GT(std::abs(uncalibrated[1] - 63.0), 3.0) << uncalibrated[1];
    EXPECT_LT(std::abs(uncalibrated[1] - 63.0), 8.0);
    const auto calibrated = ZeroLines({0, sim.Zero[0].P1, sim.Zero[0].P2, sim.Zero[0].SH,
                                       sim.Zero[1].P1, sim.Zero[1].P2, sim.Zero[1].SH});
    EXPECT_NEAR(calibrated[0], 191.0, 0.2);
    EXPECT_NEAR(calibrated[1], 63.0, 0.2);
}

TEST(SimCalibration, OffsetDacTakesTwelveBits) {
    Bench bench;
    bench.LoadPlaceholder();
    const auto low = ZeroFrame(bench, 0x3B, 1360);
    const auto spilled = ZeroFrame(bench, 0x3B, 0x1000 + 1360);
    EXPECT_NEAR(spilled[0].mean, low[0].mean, 0.05);
}

// --- TDC -------------------------------------------------------------------

// The fine counts of 50 frames triggered by a logic channel, as the TDC
// calibration sets the instrument up: 1000 samples at 10 ns, no pre-trigger.
std::vector<int> TdcCounts(const SimInstrumentConfig& config, std::uint8_t trigFlags) {
    Bench bench(config);
    bench.LoadPlaceholder();
    RegisterSetup setup;
    setup.sampleCount = 1000;
    setup.pre = 0;
    setup.enable = 0x0C;
    setup.trigCount = 1;
    setup.trigFlags = trigFlags;
    bench.Send(setup);
    std::vector<int> counts;
    while (counts.size() < 50) {
        const auto frames = DataFrames(bench.Run(100 * kMs, setup.sampleCount));
        EXPECT_FALSE(frames.empty());
        if (frames.empty()) break;
        for (const Frame& f : frames) {
            EXPECT_EQ(f.echo[0] & 0x04, 0) << "triggered";
            counts.push_back(f.echo[46]);
        }
    }
    counts.resize(std::min<std::size_t>(counts.size(), 50));
    return counts;
}

struct TdcCase {
    const char* what;
    std::uint8_t trigFlags;
    std::size_t which;  // rise D1, fall D1, rise D2, fall D2
};
constexpr TdcCase kTdcStages[] = {{"D1 rising", 0x02, 0},
                                  {"D1 falling", 0x12, 1},
                                  {"D2 rising", 0x06, 2},
                                  {"D2 falling", 0x16, 3}};

TEST(SimCalibration, TdcReachesItsStepCountWithin50Frames) {
    SimInstrumentConfig config;
    config.TdcSteps = {12, 27, 19, 14};
    for (const TdcCase& c : kTdcStages) {
        const auto counts = TdcCounts(config, c.trigFlags);
        ASSERT_EQ(counts.size(), 50u) << c.what;
        EXPECT_EQ(*std::max_element(counts.begin(), counts.end()), config.TdcSteps[c.which])
            << c.what;
        const std::set<int> distinct(counts.begin(), counts.end());
        EXPECT_GT(distinct.size(), 8u) << c.what << ": the edges fall all over the clock period";
    }
}

TEST(SimCalibration, TdcFaults) {
    SimInstrumentConfig overrange;
    overrange.Faults.TdcOverrange = true;
    const auto high = TdcCounts(overrange, 0x02);
    ASSERT_EQ(high.size(), 50u);
    EXPECT_GT(*std::max_element(high.begin(), high.end()), 27);
    EXPECT_LE(*std::max_element(high.begin(), high.end()), 31);

    SimInstrumentConfig noSignal;
    noSignal.Faults.TdcNoSignal = true;
    const auto none = TdcCounts(noSignal, 0x06);
    ASSERT_EQ(none.size(), 50u) << "frames still come";
    EXPECT_EQ(*std::max_element(none.begin(), none.end()), 0);
}

TEST(SimCalibration, StoredTdcValuesAreReportedNotUsed) {
    // The PC's TDC segment changes what the status reports, not what the
    // TDC counts.
    SimInstrumentConfig config;
    config.TdcSteps = {16, 16, 16, 16};
    Bench bench(config);
    bench.LoadPlaceholder();
    const TdcBytes stored{25, 24, 23, 22};
    bench.Start();
    RegisterSetup setup;
    setup.sampleCount = 1000;
    setup.pre = 0;
    setup.enable = 0x0C;
    setup.trigCount = 1;
    setup.trigFlags = 0x02;
    bench.Write(SettingsCommand(setup.Image(), bench.seq, &stored).view());
    const auto frames = bench.Run(1000 * kMs, setup.sampleCount);
    const auto status = sim_test::StatusFrames(frames);
    ASSERT_FALSE(status.empty());
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(status.back().record[25 + i], stored[i]);
    int most = 0;
    for (const Frame& f : DataFrames(frames)) most = std::max<int>(most, f.echo[46]);
    EXPECT_EQ(most, 16);
}

}  // namespace
}  // namespace qx40
