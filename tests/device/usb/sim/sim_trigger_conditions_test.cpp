// The simulated instrument follows every trigger setting as the program
// sends it: the settings go through the program's own register computation,
// so a register the two read differently shows up here. Auto is off
// throughout: a condition that nothing meets sends no frames at all.
#include <gtest/gtest.h>

#include <optional>

#include "device/usb/sim/simulated_link.h"
#include "scope/build_device_settings.h"
#include "sim_test_support.h"

namespace qx40 {
namespace {

using sim_test::Bench;
using sim_test::DataFrames;
using sim_test::Frame;
using sim_test::kMs;
using sim_test::TimeOrder;
using sim_test::Unpack;

// The program calibrated for the simulated instrument, the generator on (a
// 1 kHz sine of 4 Vpp into A1, 64 codes at 2 V/div) and A1 the trigger
// source at the zero line; RUN down.
ScopeModel Program(const SimInstrumentConfig& sim = {}) {
    ScopeModel m;
    CalibrateSection& c = m.state.Calibrate;
    c.Z_A1P1 = sim.Zero[0].P1, c.Z_A1P2 = sim.Zero[0].P2, c.Z_A1SH = sim.Zero[0].SH;
    c.Z_A2P1 = sim.Zero[1].P1, c.Z_A2P2 = sim.Zero[1].P2, c.Z_A2SH = sim.Zero[1].SH;
    m.state.View.Run = RunButton::Run;
    m.state.Generator.GenOn = true;
    m.state.Scope.A1 = VoltsDiv::V2;
    m.state.Scope.A1_Zero = 128;
    m.state.Trigger.Source = TriggerSource::CH_A1;
    m.state.Trigger.Lev_A1 = 128.0;
    return m;
}

DeviceSettings Registers(ScopeModel& m) {
    RecordLevels background;
    BuildDeviceSettings(m, true, false, background);
    return m.registers;
}

// The frames the instrument sends in the given time after the settings.
std::vector<Frame> FramesFor(ScopeModel& m, std::int64_t ms, const SimInstrumentConfig& sim = {}) {
    Bench bench(sim);
    bench.LoadPlaceholder();
    bench.Send(Registers(m));
    return DataFrames(bench.Run(ms * kMs, m.derived.SampleCount, m.derived.SingleChannelMode));
}

// Milliseconds from the settings to the first frame, if one comes in 100 ms.
std::optional<std::int64_t> FirstFrameAfter(ScopeModel& m, const SimInstrumentConfig& sim = {}) {
    Bench bench(sim);
    bench.LoadPlaceholder();
    bench.Send(Registers(m));
    for (std::int64_t ms = 1; ms <= 100; ++ms)
        if (!DataFrames(bench.Run(kMs, m.derived.SampleCount)).empty()) return ms;
    return std::nullopt;
}

// The four channels of a frame in time order, the trigger sample at index pre.
std::array<std::vector<int>, 4> Channels(const Frame& f, const ScopeModel& m) {
    const std::int32_t n = m.derived.SampleCount;
    auto ch = Unpack(f, n, {true, true, true, true});
    for (auto& c : ch)
        c = TimeOrder(c, f.Echo16(42), static_cast<std::size_t>(m.derived.PreTrigCount));
    return ch;
}

// --- Pulse duration ------------------------------------------------------

struct PulseCase {
    const char* what;
    bool tplus;
    std::int32_t mode;      // PTMode
    std::int32_t min, max;  // in microseconds (PTmult 100)
    bool triggers;
};

TEST(SimTriggerConditions, PulseDurationWindowSelectsTheEdges) {
    // A 1 kHz rectangle: every rising edge ends 500 us below the window.
    const PulseCase cases[] = {
        {"inside, around the pulse", true, 1, 400, 600, true},
        {"inside, shorter pulses only", true, 1, 100, 300, false},
        {"inside, longer pulses only", true, 1, 700, 900, false},
        {"outside, around the pulse", true, 2, 400, 600, false},
        {"outside, shorter pulses only", true, 2, 100, 300, true},
        {"T+ up: the window is not in force", false, 1, 100, 300, true},
    };
    for (const PulseCase& c : cases) {
        ScopeModel m = Program();
        m.state.Generator.Shape = GenShape::Rect;
        TriggerSection& t = m.state.Trigger;
        t.TPLUS = c.tplus;
        t.PTMode = c.mode;
        t.PTmult = 100;
        t.PTmin = c.min;
        t.PTmax = c.max;
        if (!c.tplus) {
            // The limits of an earlier apply with T+ down stay in the registers.
            t.TPLUS = true;
            Registers(m);
            t.TPLUS = false;
        }
        const auto frames = FramesFor(m, 400);
        if (!c.triggers) {
            EXPECT_TRUE(frames.empty()) << c.what;
            continue;
        }
        ASSERT_GE(frames.size(), 5u) << c.what;
        for (const Frame& f : frames) {
            EXPECT_EQ(f.echo[0] & 0x04, 0) << c.what << ": triggered";
            EXPECT_NEAR(f.Echo32(20), 50000.0, 20.0) << c.what << ": the pulse the edge ends";
        }
    }
}

// --- Slew ----------------------------------------------------------------

struct SlewCase {
    const char* what;
    GenShape shape;
    std::int32_t mode;   // Slew_Mode
    std::int32_t limit;  // ticks
    bool triggers;
};

TEST(SimTriggerConditions, SlewConditionSelectsTheEdges) {
    // A 100 kHz sine of 64 codes takes about 172 ticks through a window of
    // 2 divisions (codes 112 to 144, from 111.5 to 144.5 before rounding); a
    // rectangle jumps through it in one.
    const SlewCase cases[] = {
        {"sine at most 200", GenShape::Sin, 1, 200, true},
        {"sine at most 100", GenShape::Sin, 1, 100, false},
        {"sine above 100", GenShape::Sin, 2, 100, true},
        {"sine above 200", GenShape::Sin, 2, 200, false},
        {"rectangle at most 10", GenShape::Rect, 1, 10, true},
        {"rectangle above 10", GenShape::Rect, 2, 10, false},
    };
    for (const SlewCase& c : cases) {
        ScopeModel m = Program();
        m.state.Scope.TimebaseIndex = TimebaseIndex::T5uS;
        m.state.Generator.Range = GenRange::R1M_10mS;  // 100 kHz
        m.state.Generator.Shape = c.shape;
        TriggerSection& t = m.state.Trigger;
        t.Hyst = 4;  // 120..136 becomes 112..144
        t.TPLUS = true;
        t.Slew_Mode = c.mode;
        t.Slew = c.limit;
        const auto frames = FramesFor(m, 200);
        if (!c.triggers) {
            EXPECT_TRUE(frames.empty()) << c.what;
            continue;
        }
        ASSERT_GE(frames.size(), 5u) << c.what;
        for (const Frame& f : frames) {
            const std::int32_t slew = f.echo[17];
            EXPECT_EQ(slew <= c.limit, c.mode == 1) << c.what << ": slew " << slew;
            if (c.shape == GenShape::Sin) {
                EXPECT_NEAR(slew, 172, 4) << c.what;
            }
        }
    }
}

// --- Logic levels ----------------------------------------------------------

struct LevelCase {
    const char* what;
    bool d1Signal;  // a 3.7 kHz square on D1, else nothing (level 0)
    std::int32_t mask, levels;
    bool triggers;
};

TEST(SimTriggerConditions, LogicLevelOfD1QualifiesTheEdges) {
    const LevelCase cases[] = {
        {"D1 must be 1, no signal", false, 0x4, 0x4, false},
        {"D1 must be 0, no signal", false, 0x4, 0x0, true},
        {"D1 any, no signal", false, 0x0, 0x4, true},
        {"D1 must be 1", true, 0x4, 0x4, true},
        {"D1 must be 0", true, 0x4, 0x0, true},
        {"A1 is the source: its own bit is left out", false, 0x5, 0x0, true},
    };
    for (const LevelCase& c : cases) {
        SimInstrumentConfig sim;
        sim.Bench.DigitalConnected = c.d1Signal;
        sim.Bench.D1FrequencyHz = 3700.0;  // not locked to the 1 kHz on A1
        ScopeModel m = Program(sim);
        m.state.Scope.TimebaseIndex = TimebaseIndex::T5uS;  // one sample a tick
        TriggerSection& t = m.state.Trigger;
        t.TPLUS = true;
        t.Lev_Mask = c.mask;
        t.Levels = c.levels;
        const auto frames = FramesFor(m, 300, sim);
        if (!c.triggers) {
            EXPECT_TRUE(frames.empty()) << c.what;
            continue;
        }
        ASSERT_GE(frames.size(), 5u) << c.what;
        const auto pre = static_cast<std::size_t>(m.derived.PreTrigCount);
        for (const Frame& f : frames) {
            const auto ch = Channels(f, m);
            EXPECT_LE(ch[0][pre], 130) << c.what << ": A1 crosses at the trigger";
            EXPECT_GT(ch[0][pre + 1], 130) << c.what;
            if (c.mask & 0x4) {
                EXPECT_EQ(ch[2][pre + 1], (c.levels >> 2) & 1) << c.what << ": D1 at the crossing";
            }
        }
    }
}

// --- Edge count and hysteresis -------------------------------------------

TEST(SimTriggerConditions, TriggerCountsQualifyingEdgesOnly) {
    // D1 at 500 Hz is 1 at every other rising crossing of A1's 1 kHz sine
    // (which lies 135 us after D1's edges at level 150).
    SimInstrumentConfig sim;
    sim.Bench.D1FrequencyHz = 500.0;
    for (const bool qualified : {false, true}) {
        ScopeModel m = Program(sim);
        m.state.Scope.TimebaseIndex = TimebaseIndex::T5uS;
        TriggerSection& t = m.state.Trigger;
        t.Lev_A1 = 150.0;
        t.TPLUS = qualified;
        t.Lev_Mask = t.Levels = 0x4;
        t.N = 1;
        const auto first = FirstFrameAfter(m, sim);
        t.N = 4;
        const auto fourth = FirstFrameAfter(m, sim);
        ASSERT_TRUE(first && fourth) << qualified;
        EXPECT_NEAR(static_cast<double>(*fourth - *first), qualified ? 6.0 : 3.0, 1.0) << qualified;
    }
}

TEST(SimTriggerConditions, HysteresisRejectsNoise) {
    // A2's 1 kHz sine, 32 codes, with about 3.7 codes of noise: without a
    // window the noise crosses the level again and again at every edge;
    // half a division either side takes one edge a period.
    SimInstrumentConfig sim;
    sim.Bench.A2NoiseVolts = 0.1;
    for (const std::int32_t hyst : {0, 3}) {
        ScopeModel m = Program(sim);
        m.state.Scope.TimebaseIndex = TimebaseIndex::T5uS;
        m.state.Scope.A2_Zero = 128;
        TriggerSection& t = m.state.Trigger;
        t.Source = TriggerSource::CH_A2;
        t.Lev_A2 = 128.0;
        t.Hyst = hyst;
        t.N = 1;
        const auto first = FirstFrameAfter(m, sim);
        t.N = 10;
        const auto tenth = FirstFrameAfter(m, sim);
        ASSERT_TRUE(first && tenth) << hyst;
        if (hyst == 0) {
            EXPECT_LE(*tenth - *first, 1) << "ten noise edges at one crossing";
        } else {
            EXPECT_NEAR(static_cast<double>(*tenth - *first), 9.0, 1.0) << "one edge a period";
        }
    }
}

// --- The search itself ------------------------------------------------------

TEST(SimTriggerSearch, AScanCutShortGoesOnWhereItStopped) {
    // What the real-time clock relies on when it limits the looks per round.
    const SimInstrumentConfig config;
    sim_test::RegisterSetup setup;
    setup.offset[0] = sim_test::OffsetFor(128, 1, 1000000, config.Zero[0]);
    const SimSignalModel inputs(setup.Image().reg, config);
    SimTriggerSettings t;
    t.low = {120, 120};
    t.high = {136, 136};
    t.count = 3;
    SimTriggerSearch whole(t, inputs, 0), pieces(t, inputs, 0);
    ASSERT_TRUE(whole.Scan(inputs, kSimTicksPerSecond));
    int rounds = 0;
    while (!pieces.Scan(inputs, kSimTicksPerSecond, 5)) ASSERT_LT(++rounds, 100000);
    EXPECT_GT(rounds, 10);
    EXPECT_EQ(pieces.Hit().before, whole.Hit().before);
    EXPECT_EQ(pieces.Hit().widthTicks, whole.Hit().widthTicks);
    EXPECT_EQ(pieces.Hit().slewTicks, whole.Hit().slewTicks);
}

}  // namespace
}  // namespace qx40
