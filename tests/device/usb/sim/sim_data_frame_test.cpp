// Data frames of the simulated instrument: their layout as the receiver
// expects it, the trigger, roll and peak-detect records, and the front end
// (ranges, zero line, coupling).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

#include "device/frame_receiver.h"
#include "device/usb/sim/simulated_link.h"
#include "sim_test_support.h"

namespace qx40 {
namespace {

using sim_test::Bench;
using sim_test::DataFrames;
using sim_test::Frame;
using sim_test::kMs;
using sim_test::OffsetFor;
using sim_test::RegisterSetup;
using sim_test::SampleBytesFor;
using sim_test::StatusFrames;
using sim_test::TimeOrder;
using sim_test::Unpack;

constexpr std::array<bool, 4> kA1{true, false, false, false};
constexpr std::array<bool, 4> kA2{false, true, false, false};

// A bench without noise, for exact comparisons with the thresholds.
SimInstrumentConfig Quiet() {
    SimInstrumentConfig c;
    c.Bench.AdcNoiseCodes = 0.0;
    c.Bench.A2NoiseVolts = 0.0;
    return c;
}

// Zero lines of both channels at code 128 on the 1 V range.
RegisterSetup Centred(const SimInstrumentConfig& config = {}) {
    RegisterSetup s;
    s.offset[0] = OffsetFor(128, 1, 1000000, config.Zero[0]);
    s.offset[1] = OffsetFor(128, 2, 1000000, config.Zero[1]);
    return s;
}

double Mean(const std::vector<int>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

// --- Layout --------------------------------------------------------------

struct LayoutCase {
    std::uint8_t enable;
    std::uint8_t chanMode;
    std::int32_t sampleCount;
    std::uint8_t header;
    std::size_t bytes;
};

TEST(SimDataFrame, SampleBytesFollowTheHeaderAsTheReceiverCountsThem) {
    const LayoutCase cases[] = {
        {0x01, 0, 2000, 0x81, 2000},   {0x01, 0, 5000, 0x81, 5000},   {0x0F, 0, 2000, 0x8F, 5000},
        {0x0F, 0, 10000, 0x8F, 25000}, {0x03, 1, 20000, 0x83, 20000}, {0x03, 3, 10000, 0x83, 10000},
        {0x0F, 1, 20000, 0x8F, 25000}, {0x04, 0, 2000, 0x84, 500},    {0x0C, 0, 5000, 0x8C, 2500},
        {0x05, 0, 5000, 0x85, 6250},   {0x00, 0, 5000, 0x80, 0},
    };
    for (const LayoutCase& c : cases) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.enable = c.enable;
        setup.chanMode = c.chanMode;
        setup.sampleCount = c.sampleCount;
        const std::uint8_t seq = bench.Send(setup);
        const bool single = c.chanMode & 1;
        const auto frames = DataFrames(bench.Run(100 * kMs, c.sampleCount, single));
        ASSERT_GE(frames.size(), 5u) << std::hex << int(c.header);
        for (const Frame& f : frames) {
            EXPECT_TRUE(f.checksumOk);
            EXPECT_EQ(f.header, c.header);
            EXPECT_EQ(f.samples.size(), c.bytes)
                << std::hex << int(c.header) << std::dec << " " << c.sampleCount;
            EXPECT_EQ(f.samples.size(), SampleBytesFor(f.header, c.sampleCount, single));
            EXPECT_EQ(std::count(f.samples.begin(), f.samples.end(), 0xFF), 0);
            EXPECT_EQ(f.echo[69], seq);
        }
    }
}

TEST(SimDataFrame, EchoHoldsTheRegistersAndWhatTheInstrumentAdds) {
    SimInstrumentConfig config;
    config.ModelCode = 25;
    Bench bench(config);
    bench.LoadPlaceholder();
    RegisterSetup setup = Centred(config);
    setup.trigCount = 1;
    const std::uint8_t seq = bench.Send(setup);
    const auto frames = DataFrames(bench.Run(100 * kMs, setup.sampleCount));
    ASSERT_FALSE(frames.empty());
    DeviceSettings expected = setup.Image();
    expected.reg[reg::kCmdSeq] = seq;
    const std::vector<std::size_t> instrumentSet = {0,  4,  5,  6,  7,  17, 20, 21, 22, 23,
                                                    40, 41, 42, 43, 44, 45, 46, 66, 67};
    for (std::size_t r = 0; r < 128; ++r) {
        if (std::find(instrumentSet.begin(), instrumentSet.end(), r) != instrumentSet.end())
            continue;
        EXPECT_EQ(frames[0].echo[r], expected.reg[r]) << "register " << r;
    }
    EXPECT_EQ(frames[0].Echo16(66), 25u);
    EXPECT_EQ(frames[0].echo[69], seq);
}

// Lengths of the runs of equal bits, without the two that the ring's ends cut.
std::vector<std::size_t> InnerRuns(const std::vector<int>& bits) {
    std::vector<std::size_t> runs;
    std::size_t length = 1;
    for (std::size_t i = 1; i < bits.size(); ++i) {
        if (bits[i] == bits[i - 1]) {
            ++length;
            continue;
        }
        runs.push_back(length);
        length = 1;
    }
    if (!runs.empty()) runs.erase(runs.begin());
    return runs;
}

TEST(SimDataFrame, LogicBitsArePackedD1BeforeD2FromBit3Down) {
    for (const std::uint8_t enable : {0x04, 0x0C, 0x0D}) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.enable = enable;
        setup.divider = 100;  // 1 us a sample: D1 (10 kHz) runs of 50, D2 (3.2 kHz) of about 156.25
        bench.Send(setup);
        const auto frames = DataFrames(bench.Run(50 * kMs, setup.sampleCount));
        ASSERT_FALSE(frames.empty());
        const std::array<bool, 4> present{static_cast<bool>(enable & 1), false, true,
                                          static_cast<bool>(enable & 8)};
        const auto ch = Unpack(frames[0], setup.sampleCount, present);
        const auto tp = frames[0].Echo16(42);
        const auto d1 = TimeOrder(ch[2], tp, 200);
        for (const std::size_t run : InnerRuns(d1))
            EXPECT_EQ(run, 50u) << "D1, enable " << int(enable);
        if (enable & 8) {
            const auto d2 = TimeOrder(ch[3], tp, 200);
            for (const std::size_t run : InnerRuns(d2))
                EXPECT_NEAR(static_cast<double>(run), 156.25, 1.0) << "D2";
        }
        if (enable & 1) {
            const auto [lo, hi] = std::minmax_element(ch[0].begin(), ch[0].end());
            EXPECT_GT(*hi - *lo, 20) << "A1 carries the generator's sine";
        }
    }
}

// --- Trigger -------------------------------------------------------------

struct TriggerCase {
    const char* what;
    std::uint8_t trigFlags;  // source bits and edge
    std::uint32_t divider;
    std::int32_t sampleCount;
};

TEST(SimDataFrame, TriggeredRecordHasTheCrossingAtTp) {
    const TriggerCase cases[] = {
        {"A1 rising", 0x00, 1, 2000},         {"A1 falling", 0x10, 1, 2000},
        {"A2 rising", 0x04, 1, 5000},         {"A2 falling", 0x14, 7, 5000},
        {"A1 rising, 2 ms", 0x00, 200, 5000}, {"A1 falling, 2 ms", 0x10, 400, 10000},
    };
    const SimInstrumentConfig config = Quiet();
    for (const TriggerCase& c : cases) {
        Bench bench(config);
        bench.LoadPlaceholder();
        RegisterSetup setup = Centred(config);
        setup.enable = 0x03;
        setup.trigCount = 1;
        setup.trigFlags = c.trigFlags;
        setup.divider = c.divider;
        setup.sampleCount = c.sampleCount;
        setup.pre = c.sampleCount / 10;
        setup.low[0] = setup.low[1] = 120;
        setup.high[0] = setup.high[1] = 136;
        bench.Send(setup);
        const auto frames = DataFrames(bench.Run(300 * kMs, setup.sampleCount));
        ASSERT_GE(frames.size(), 2u) << c.what;
        const bool falling = c.trigFlags & 0x10;
        const std::size_t channel = (c.trigFlags & 0x04) ? 1 : 0;
        std::set<std::uint32_t> tps;
        for (const Frame& f : frames) {
            EXPECT_EQ(f.echo[0] & 0x04, 0) << c.what << ": triggered";
            const auto ring = Unpack(f, setup.sampleCount, {true, true, false, false})[channel];
            const std::uint32_t tp = f.Echo16(42);
            ASSERT_LT(tp, ring.size());
            tps.insert(tp);
            const int at = ring[tp], after = ring[(tp + 1) % ring.size()];
            const std::uint32_t p = f.Echo32(4);
            EXPECT_LT(p, c.divider) << c.what << ": P counts ticks inside one sample";
            if (falling) {
                EXPECT_GE(at, 120) << c.what;
                EXPECT_LT(after, 120) << c.what;
                EXPECT_GE(f.echo[44], 120);
                EXPECT_LT(f.echo[45], 120);
            } else {
                EXPECT_LE(at, 136) << c.what;
                EXPECT_GT(after, 136) << c.what;
                EXPECT_LE(f.echo[44], 136);
                EXPECT_GT(f.echo[45], 136);
            }
            if (c.divider == 1) {
                EXPECT_EQ(f.echo[44], at) << c.what << ": the 100 MHz codes around the crossing";
                EXPECT_EQ(f.echo[45], after);
            }
            EXPECT_GT(f.echo[17], 0) << "slew measured";
            EXPECT_GT(f.Echo32(20), 0u) << "pulse width measured";
        }
        EXPECT_GT(tps.size(), 1u) << c.what << ": the trigger sample moves around the ring";
    }
}

TEST(SimDataFrame, SlewAndWidthOfASquareEdge) {
    Bench bench(Quiet());
    bench.LoadPlaceholder();
    RegisterSetup setup = Centred();
    setup.trigCount = 1;
    setup.genShape = 0x53;  // rectangle, 1 kHz
    bench.Send(setup);
    const auto frames = DataFrames(bench.Run(100 * kMs, setup.sampleCount));
    ASSERT_FALSE(frames.empty());
    EXPECT_LE(frames[0].echo[17], 1) << "the edge jumps in one tick";
    EXPECT_NEAR(frames[0].Echo32(20), 50000.0, 1.0) << "half a period below the window";
}

// Milliseconds from the settings command to the first data frame.
std::int64_t FirstFrameAfter(const RegisterSetup& setup) {
    Bench bench(Quiet());
    bench.LoadPlaceholder();
    bench.Send(setup);
    for (std::int64_t ms = 1; ms <= 500; ++ms)
        if (!DataFrames(bench.Run(kMs, setup.sampleCount)).empty()) return ms;
    return -1;
}

TEST(SimDataFrame, TriggerFiresOnTheNthEdge) {
    RegisterSetup setup = Centred();
    setup.genHz = 100.0;  // edges 10 ms apart
    setup.frameMs = 1;
    setup.trigCount = 1;
    const std::int64_t first = FirstFrameAfter(setup);
    setup.trigCount = 5;
    const std::int64_t fifth = FirstFrameAfter(setup);
    ASSERT_GT(first, 0);
    EXPECT_NEAR(static_cast<double>(fifth - first), 40.0, 1.0);
}

TEST(SimDataFrame, LogicTriggerReportsTheTdcFineTime) {
    struct Case {
        std::uint8_t trigFlags;
        std::size_t channel;
        int before, after;
        std::size_t which;  // the TDC's steps for that channel and edge
    };
    const SimInstrumentConfig config;
    for (const Case& c : {Case{0x02, 2, 0, 1, 0}, Case{0x12, 2, 1, 0, 1}, Case{0x06, 3, 0, 1, 2},
                          Case{0x16, 3, 1, 0, 3}}) {
        Bench bench(config);
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.enable = 0x0C;
        setup.trigCount = 1;
        setup.trigFlags = c.trigFlags;
        bench.Send(setup);
        const auto frames = DataFrames(bench.Run(200 * kMs, setup.sampleCount));
        ASSERT_FALSE(frames.empty());
        std::set<int> fine;
        for (const Frame& f : frames) {
            const auto ring = Unpack(f, setup.sampleCount, {false, false, true, true})[c.channel];
            const std::uint32_t tp = f.Echo16(42);
            EXPECT_EQ(ring[tp], c.before);
            EXPECT_EQ(ring[(tp + 1) % ring.size()], c.after);
            EXPECT_LE(f.echo[46], config.TdcSteps[c.which]);
            fine.insert(f.echo[46]);
        }
        EXPECT_GT(fine.size(), 1u) << "the edges move against the clock";
    }
}

TEST(SimDataFrame, AutoSendsUntriggeredRecordsAndNormalWaits) {
    for (const bool autoMode : {true, false}) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup = Centred();
        setup.trigCount = 1;
        setup.high[0] = 255;  // out of reach
        setup.trigFlags = autoMode ? 0x20 : 0x00;
        bench.Send(setup);
        const auto frames = bench.Run(1000 * kMs, setup.sampleCount);
        EXPECT_EQ(StatusFrames(frames).size(), 10u);
        const auto data = DataFrames(frames);
        if (!autoMode) {
            EXPECT_TRUE(data.empty());
            continue;
        }
        EXPECT_GE(data.size(), 8u);
        EXPECT_LE(data.size(), 10u);
        for (const Frame& f : data) EXPECT_EQ(f.echo[0] & 0x04, 0x04) << "not triggered";
    }
}

TEST(SimDataFrame, FramesArePacedByTheIntervalAndTheRecordLength) {
    struct Case {
        std::uint32_t divider;
        std::uint8_t frameMs;
        std::size_t frames;  // in one second
    };
    for (const Case& c : {Case{1, 10, 100}, Case{1, 40, 25}, Case{5000, 10, 10}}) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.divider = c.divider;  // 2000 samples: 20 us or 100 ms a record
        setup.frameMs = c.frameMs;
        bench.Send(setup);
        const auto data = DataFrames(bench.Run(1000 * kMs, setup.sampleCount));
        EXPECT_NEAR(static_cast<double>(data.size()), static_cast<double>(c.frames), 1.0)
            << c.divider << " " << int(c.frameMs);
        for (const Frame& f : data)
            EXPECT_EQ(f.echo[0] & 0x04, 0x04) << "free-running records are untriggered";
    }
}

TEST(SimDataFrame, NewSettingsRestartTheAcquisition) {
    Bench bench;
    bench.LoadPlaceholder();
    RegisterSetup setup;
    const std::uint8_t first = bench.Send(setup);
    auto frames = DataFrames(bench.Run(50 * kMs, setup.sampleCount));
    ASSERT_FALSE(frames.empty());
    for (const Frame& f : frames) EXPECT_EQ(f.echo[69], first);
    setup.enable = 0x03;
    const std::uint8_t second = bench.Send(setup);
    frames = DataFrames(bench.Run(50 * kMs, setup.sampleCount));
    ASSERT_FALSE(frames.empty());
    for (const Frame& f : frames) {
        EXPECT_EQ(f.echo[69], second);
        EXPECT_EQ(f.header, 0x83);
        EXPECT_EQ(f.samples.size(), 4000u);
    }
    setup.run = false;
    bench.Send(setup);
    EXPECT_TRUE(DataFrames(bench.Run(200 * kMs, setup.sampleCount)).empty()) << "stopped";
}

// --- Roll and peak detect --------------------------------------------------

TEST(SimDataFrame, RollFramesAdvanceTheWritePosition) {
    for (const bool peak : {false, true}) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.sampleCount = 5000;
        setup.pre = 0;
        setup.divider = 20000;  // 200 us a point
        setup.trigFlags = static_cast<std::uint8_t>(0x08 | (peak ? 0x01 : 0));
        setup.rollFlags = 3;
        setup.frameMs = 40;
        bench.Send(setup);
        const std::uint32_t perFrame = peak ? 400 : 200;  // raw samples in 40 ms
        const std::uint32_t fullAfter = peak ? 13 : 25;   // frames until the ring has wrapped
        std::vector<int> previous;
        std::uint32_t previousW = 0;
        for (std::uint32_t k = 1; k <= 30; ++k) {
            const auto frames = DataFrames(bench.Run(40 * kMs, setup.sampleCount));
            ASSERT_EQ(frames.size(), 1u) << k;
            const Frame& f = frames[0];
            const std::uint32_t w = f.Echo16(40);
            EXPECT_EQ(w, k * perFrame % 5000) << "frame " << k;
            EXPECT_EQ(f.echo[0] & 0x01, 0x01) << "roll data";
            EXPECT_EQ((f.echo[0] & 0x02) != 0, k >= fullAfter) << "ring full, frame " << k;
            EXPECT_EQ(f.Echo16(42), 0u);
            const auto ring = Unpack(f, 5000, kA1)[0];
            if (!previous.empty() && w > previousW) {
                // What was written stays in place for the recorder to take.
                for (std::uint32_t i = 0; i < previousW; ++i) ASSERT_EQ(ring[i], previous[i]) << i;
            }
            previous = ring;
            previousW = w;
        }
    }
}

TEST(SimDataFrame, PeakDetectSendsMinimumThenMaximumPerPoint) {
    Bench bench;
    bench.LoadPlaceholder();
    RegisterSetup setup = Centred();
    setup.sampleCount = 5000;
    setup.pre = 500;
    setup.divider = 400;
    setup.trigFlags = 0x01;
    setup.genHz = 20000.0;
    bench.Send(setup);
    const auto frames = DataFrames(bench.Run(100 * kMs, setup.sampleCount));
    ASSERT_FALSE(frames.empty());
    for (const Frame& f : frames) {
        const auto ring = Unpack(f, setup.sampleCount, kA1)[0];
        ASSERT_EQ(f.Echo16(42) % 2, 0u) << "Tp names the first of a pair";
        int spread = 0;
        for (std::size_t i = 0; i + 1 < ring.size(); i += 2) {
            ASSERT_LE(ring[i], ring[i + 1]) << i;
            spread = std::max(spread, ring[i + 1] - ring[i]);
        }
        // 400 ticks of a 20 kHz, 64-code sine sweep up to 16 codes.
        EXPECT_GE(spread, 12);
    }
}

TEST(SimDataFrame, PeakDetectKeepsAPulseThatSamplingMisses) {
    std::map<bool, int> pulsesSeen;
    for (const bool peak : {true, false}) {
        Bench bench(Quiet());
        bench.LoadPlaceholder();
        RegisterSetup setup = Centred();
        setup.genMode = 7;               // pulse
        setup.genFreqWord = 100003 - 1;  // period in ticks, minus one
        setup.genSecond = 3;             // 30 ns wide
        setup.divider = 400;
        setup.sampleCount = peak ? 5000 : 2500;  // 2500 points, 10 ms, either way
        setup.pre = 0;
        setup.trigFlags = peak ? 0x01 : 0x00;
        bench.Send(setup);
        const auto frames = DataFrames(bench.Run(30 * kMs, setup.sampleCount));
        ASSERT_FALSE(frames.empty());
        const auto ring = Unpack(frames[0], setup.sampleCount, kA1)[0];
        int high = 0;
        for (int v : ring) high += v > 150 ? 1 : 0;
        pulsesSeen[peak] = high;
    }
    EXPECT_GE(pulsesSeen[true], 9) << "about ten pulses in 10 ms";
    EXPECT_LE(pulsesSeen[true], 11);
    EXPECT_LE(pulsesSeen[false], 1);
}

// --- Front end -------------------------------------------------------------

struct Range {
    std::uint8_t code;
    std::int32_t microVolts;
};
constexpr Range kRanges[] = {{3, 2000000}, {7, 1000000}, {6, 500000},
                             {4, 200000},  {1, 100000},  {0, 50000}};

TEST(SimDataFrame, ZeroLineSitsWhereTheProgramPutsItAtEveryRange) {
    SimInstrumentConfig defaults;
    SimInstrumentConfig other;
    other.Zero[0] = {3300, 700, 80};
    other.Zero[1] = {3100, 900, -40};
    for (const SimInstrumentConfig& config : {defaults, other}) {
        Bench bench(config);
        SimBench quiet = config.Bench;
        quiet.A2Connected = false;
        bench.link.SetBench(quiet);
        bench.LoadPlaceholder();
        for (const Range& range : kRanges) {
            for (const std::int32_t zero : {10, 63, 128, 191, 240}) {
                RegisterSetup setup;
                setup.enable = 0x03;
                setup.genHz = 0.0;  // generator off: 0 V on A1
                setup.gain[0] = setup.gain[1] = range.code;
                setup.offset[0] = OffsetFor(zero, 1, range.microVolts, config.Zero[0]);
                setup.offset[1] = OffsetFor(zero, 2, range.microVolts, config.Zero[1]);
                bench.Send(setup);
                bench.Drain();
                const auto frames = DataFrames(bench.Run(15 * kMs, setup.sampleCount));
                ASSERT_FALSE(frames.empty());
                const auto ch = Unpack(frames[0], setup.sampleCount, {true, true, false, false});
                for (std::size_t c = 0; c < 2; ++c) {
                    EXPECT_NEAR(Mean(ch[c]), zero, 0.2)
                        << "A" << c + 1 << " range " << int(range.code) << " zero " << zero;
                    std::map<int, int> histogram;
                    for (int v : ch[c]) ++histogram[v];
                    const auto mostCommon =
                        std::max_element(histogram.begin(), histogram.end(),
                                         [](auto& a, auto& b) { return a.second < b.second; });
                    EXPECT_EQ(mostCommon->first, zero);
                }
            }
        }
    }
}

TEST(SimDataFrame, RangeScalesTheSignal) {
    for (const Range& range : kRanges) {
        Bench bench(Quiet());
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.enable = 0x02;
        setup.divider = 100;  // two periods of A2's 1 kHz, 1 Vpp sine
        setup.gain[1] = range.code;
        setup.offset[1] = OffsetFor(128, 2, range.microVolts, SimInstrumentConfig{}.Zero[1]);
        bench.Send(setup);
        const auto frames = DataFrames(bench.Run(15 * kMs, setup.sampleCount));
        ASSERT_FALSE(frames.empty());
        const auto a2 = Unpack(frames[0], setup.sampleCount, kA2)[1];
        const auto [lo, hi] = std::minmax_element(a2.begin(), a2.end());
        const double expected = std::min(32.0 * 1e6 / range.microVolts, 254.0);
        if (expected < 200.0) {
            EXPECT_NEAR(*hi - *lo, expected, 1.0) << int(range.code);
        } else {
            EXPECT_EQ(*lo, 0) << "clipped at the bottom";
            EXPECT_EQ(*hi, 254) << "clipped at the top";
        }
    }
}

TEST(SimDataFrame, AcCouplingRemovesTheDcPart) {
    SimInstrumentConfig config = Quiet();
    config.Bench.A2AmplitudeVpp = 0.0;
    config.Bench.A2OffsetVolts = 1.0;
    for (const bool ac : {false, true}) {
        Bench bench(config);
        bench.LoadPlaceholder();
        RegisterSetup setup = Centred(config);
        setup.enable = 0x02;
        if (ac) setup.gain[1] |= 0x10;
        bench.Send(setup);
        const auto frames = DataFrames(bench.Run(15 * kMs, setup.sampleCount));
        ASSERT_FALSE(frames.empty());
        EXPECT_NEAR(Mean(Unpack(frames[0], setup.sampleCount, kA2)[1]), ac ? 128.0 : 160.0, 0.5);
    }
}

// --- Determinism and the program's receiver --------------------------------

std::vector<std::uint8_t> Session(std::uint64_t seed) {
    SimInstrumentConfig config;
    config.Seed = seed;
    Bench bench(config);
    bench.LoadPlaceholder();
    RegisterSetup setup = Centred();
    setup.enable = 0x0F;
    setup.trigCount = 1;
    setup.trigFlags = 0x04;
    setup.genShape = 0x57;  // noise
    bench.Send(setup);
    bench.link.AdvanceTime(300 * kMs);
    return bench.ReadAll();
}

TEST(SimDataFrame, SameSeedSameStream) {
    const auto a = Session(11), b = Session(11), c = Session(12);
    ASSERT_GT(a.size(), 10000u);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

class Count : public FrameSink {
public:
    void OnDataFrame(std::span<const std::uint8_t>, const RegisterEcho&) override { ++data; }
    void OnStatusFrame(const StatusRecord&) override { ++status; }
    int data = 0, status = 0;
};

TEST(SimDataFrame, TheProgramsReceiverTakesEveryFrame) {
    for (const LayoutCase& c :
         {LayoutCase{0x0F, 0, 10000, 0x8F, 25000}, LayoutCase{0x03, 1, 20000, 0x83, 20000},
          LayoutCase{0x0D, 0, 2000, 0x8D, 3000}}) {
        Bench bench;
        bench.LoadPlaceholder();
        RegisterSetup setup;
        setup.enable = c.enable;
        setup.chanMode = c.chanMode;
        setup.sampleCount = c.sampleCount;
        setup.trigFlags = 0x01;  // peak detect as well
        setup.divider = 4;
        bench.Send(setup);
        bench.Drain();
        bench.link.AdvanceTime(500 * kMs);
        const auto bytes = bench.ReadAll();
        UsbStats stats;
        FrameReceiver receiver(stats);
        receiver.SetGeometry(c.sampleCount, c.chanMode & 1);
        Count sink;
        receiver.Feed(bytes, sink);
        const auto frames = sim_test::SplitFrames(bytes, c.sampleCount, c.chanMode & 1);
        EXPECT_EQ(sink.data, static_cast<int>(DataFrames(frames).size()));
        EXPECT_EQ(sink.status, 5);
        EXPECT_GT(sink.data, 10);
        EXPECT_EQ(stats.LostBytes.load(), 0);
        EXPECT_EQ(stats.ChecksumErrors.load(), 0);
    }
}

}  // namespace
}  // namespace qx40
