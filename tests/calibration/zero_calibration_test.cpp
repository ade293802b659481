// The zero calibration's state machine, fed with frames made by hand: what
// it sends, which frames it uses, its arithmetic and how it fails.
#include "calibration/zero_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "calibration_test_port.h"

namespace qx40 {
namespace {

using testing_support::TestCalibrationPort;

constexpr std::int32_t kPoints = 5000;
constexpr std::int32_t k2V = 2000000;
constexpr std::int32_t k50mV = 50000;

// Where the zero line of a linear channel calibrated as c lies, in codes, at
// an offset code and range: the instrument's behaviour the procedure assumes.
double Position(const ZeroChannelCalibration& c, std::uint64_t code, std::int32_t microVolts) {
    return (c.P1 + (static_cast<double>(code) - 1360.0) * (c.P2 - c.P1) / 1680.0 + c.SH * 50000.0 / microVolts) / 16.0;
}

struct Input {
    double position = 0;  // codes
    std::int32_t spread = 1;
};

void SetFrame(SampleRecord& r, Input a1, Input a2, std::int32_t points = kPoints) {
    r.Info = FrameInfo{};
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = points;
    r.Info[fi::SumA1] = static_cast<std::int32_t>(std::llround(a1.position * points));
    r.Info[fi::SumA2] = static_cast<std::int32_t>(std::llround(a2.position * points));
    r.Info[fi::PeakToPeakA1] = a1.spread;
    r.Info[fi::PeakToPeakA2] = a2.spread;
}

class ZeroCalibrationTest : public testing::Test {
protected:
    ZeroCalibrationTest() {
        port.model.state.Calibrate = {0, 3357, 725, 0, 3357, 725, 0};  // a file without calibration
    }

    std::uint64_t Code() const { return port.sent.back().Get<2>(reg::kOffsetA1); }
    std::int32_t Range() const { return port.sent.back().reg[reg::kGainCodeA1] == 0x3B ? k2V : k50mV; }

    // Frames until the procedure ends: frame k of each step from the
    // instrument's true zero lines, altered by shape.
    using Shape = std::function<std::pair<Input, Input>(int k, Input a1, Input a2)>;
    void Run(const Shape& shape = {}) {
        while (zero.Measuring()) {
            const int k = zero.Progress() % ZeroCalibration::kFramesPerStep;
            Input a1{Position(a1Truth, Code(), Range()), 1}, a2{Position(a2Truth, Code(), Range()), 1};
            if (shape) std::tie(a1, a2) = shape(k, a1, a2);
            SetFrame(frame, a1, a2);
            zero.OnFrame(frame);
        }
    }
    ZeroChannelCalibration A1() const {
        const CalibrateSection& c = port.model.state.Calibrate;
        return {c.Z_A1P1, c.Z_A1P2, c.Z_A1SH};
    }
    ZeroChannelCalibration A2() const {
        const CalibrateSection& c = port.model.state.Calibrate;
        return {c.Z_A2P1, c.Z_A2P2, c.Z_A2SH};
    }

    TestCalibrationPort port;
    ZeroCalibration zero{port};
    SampleRecord frame;
    ZeroChannelCalibration a1Truth{3430, 690, 120};
    ZeroChannelCalibration a2Truth{3240, 680, -80};
};

TEST_F(ZeroCalibrationTest, ProgramsNineStepsOnBothChannels) {
    zero.Start();
    ASSERT_EQ(port.sent.size(), 1u);
    const DeviceSettings& r = port.sent[0];
    EXPECT_EQ(r.Get<4>(reg::kSampleDivider), 400u);  // 2 ms/div over 5000 samples
    EXPECT_EQ(r.Get<2>(reg::kPreTrigCount), 0u);
    EXPECT_EQ(r.Get<2>(reg::kPostTrigCount), 5000u);
    EXPECT_EQ(r.reg[reg::kTriggerCount], 0);
    EXPECT_EQ(r.reg[reg::kTrigFlags], 0);
    EXPECT_EQ(r.reg[reg::kChanMode], 0);
    EXPECT_EQ(r.reg[reg::kChanEnable], 0x83);
    EXPECT_EQ(r.reg[reg::kRollFlags], 0);
    EXPECT_EQ(port.sentDerived[0].SampleCount, 5000) << "the decoder expects the frames sent";
    EXPECT_FALSE(port.sentDerived[0].SingleChannelMode);

    Run();
    ASSERT_EQ(zero.Phase(), CalibrationPhase::Done);
    const std::uint64_t codes[] = {1360, 1341, 1379, 3040, 3021, 3059, 2200, 2181, 2219};
    ASSERT_EQ(port.sent.size(), std::size(codes)) << "one send per step";
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        const DeviceSettings& s = port.sent[i];
        EXPECT_EQ(s.Get<2>(reg::kOffsetA1), codes[i]) << i;
        EXPECT_EQ(s.Get<2>(reg::kOffsetA2), codes[i]) << i;
        const std::uint8_t gain = i < 6 ? 0x3B : 0x38;
        EXPECT_EQ(s.reg[reg::kGainCodeA1], gain) << i;
        EXPECT_EQ(s.reg[reg::kGainCodeA2], gain) << i;
        EXPECT_EQ(port.sentDerived[i].VoltsDivA1, i < 6 ? k2V : k50mV) << i;
    }
    EXPECT_EQ(zero.Progress(), 72);
    EXPECT_EQ(A1(), a1Truth);
    EXPECT_EQ(A2(), a2Truth);
    EXPECT_EQ(port.restores, 1) << "the window's own settings again";
    EXPECT_EQ(port.zeroAtRestore, (std::array<std::int32_t, 2>{191, 63})) << "zero positions put back first";
}

TEST_F(ZeroCalibrationTest, ArithmeticOfTheThreeStages) {
    // P1 2000, P2 3680, SH 0: at 1360 the line is at 2000/16 = 125 codes, at
    // 3040 at 230, at 2200 (halfway) at 177.5. Three codes per stage.
    EXPECT_EQ(ComputeZeroCalibration({375.0, 690.0, 532.5}), (ZeroChannelCalibration{2000, 3680, 0}));
    // The same channel with an input offset SH 78 (sixteenths at 50 mV/div,
    // a 40th of it at 2 V/div): 1.95/16 more at stages 1 and 2, 78/16 at 3.
    // Sums x 16/3: 2001.95, 3681.95, 2918; D = 2918 - 2841.95 = 76.05;
    // P1 = 2001.95 - 1.95, P2 = 3681.95 - 1.95, SH = 40 x 76.05 / 39 = 78.
    EXPECT_EQ(ComputeZeroCalibration({2001.95 * 3 / 16, 3681.95 * 3 / 16, 2918.0 * 3 / 16}),
              (ZeroChannelCalibration{2000, 3680, 78}));
}

TEST_F(ZeroCalibrationTest, UsesTheQuietestOfTheFramesAfterTheFirstThree) {
    // Per step: the first three frames are the quietest of all but off; of
    // frames 3..7 only frame 4 lies on the line, the first of two equally
    // quiet ones, beside a clipped one and one just below the limit.
    const auto shape = [](int k, Input a1, Input a2) {
        const double off[] = {9, 9, 9, 3, 0, -4, 2, -6};
        const std::int32_t spread[] = {0, 0, 0, 6, 2, 2, 11, -1};
        a1 = {a1.position + off[k], spread[k]};
        a2 = {a2.position - off[k], spread[k]};
        return std::pair{a1, a2};
    };
    zero.Start();
    Run(shape);
    ASSERT_EQ(zero.Phase(), CalibrationPhase::Done);
    EXPECT_EQ(A1(), a1Truth);
    EXPECT_EQ(A2(), a2Truth);
}

TEST_F(ZeroCalibrationTest, ShowsTheLineFoundWhileMeasuringAndPutsTheZerosBack) {
    zero.Start();
    for (int k = 0; k < 4; ++k) {
        SetFrame(frame, {100.4, 1}, {30.6, 1});
        zero.OnFrame(frame);
    }
    EXPECT_EQ(port.model.state.Scope.A1_Zero, 100);
    EXPECT_EQ(port.model.state.Scope.A2_Zero, 31);
    zero.Abort();
    EXPECT_EQ(port.model.state.Scope.A1_Zero, 191);
    EXPECT_EQ(port.model.state.Scope.A2_Zero, 63);
}

struct FailureCase {
    const char* name;
    Input a1, a2;
    std::int32_t points;
};

class ZeroCalibrationFailure : public ZeroCalibrationTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(ZeroCalibrationFailure, EndsTheFirstStepWithTheCalibrationUnchanged) {
    const FailureCase& c = GetParam();
    const CalibrateSection before = port.model.state.Calibrate;
    zero.Start();
    for (int k = 0; k < ZeroCalibration::kFramesPerStep; ++k) {
        SetFrame(frame, c.a1, c.a2, c.points);
        zero.OnFrame(frame);
    }
    EXPECT_EQ(zero.Phase(), CalibrationPhase::Failed);
    EXPECT_EQ(zero.Progress(), 0);
    EXPECT_EQ(port.model.state.Calibrate, before);
    EXPECT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.restores, 1);
    EXPECT_EQ(port.zeroAtRestore, (std::array<std::int32_t, 2>{191, 63}));
    zero.OnFrame(frame);
    EXPECT_EQ(port.sent.size(), 1u) << "nothing more after the end";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZeroCalibrationFailure,
    testing::Values(FailureCase{"A1SpreadAtTheLimit", {100, 12}, {50, 1}, kPoints},
                    FailureCase{"A2HumOfAConnectedInput", {100, 1}, {50, 40}, kPoints},
                    FailureCase{"A1Clipped", {254, -1}, {50, 1}, kPoints},
                    FailureCase{"NoPoints", {100, 1}, {50, 1}, 0}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(ZeroCalibrationTest, SpreadLimitIsWiderAt50mV) {
    struct Case {
        std::int32_t at2V, at50mV;
        CalibrationPhase phase;
    };
    for (const Case c : {Case{11, 15, CalibrationPhase::Done}, Case{13, 13, CalibrationPhase::Failed},
                         Case{11, 16, CalibrationPhase::Failed}}) {
        zero.Start();
        Run([&](int, Input a1, Input a2) {
            const std::int32_t spread = Range() == k2V ? c.at2V : c.at50mV;
            return std::pair{Input{a1.position, spread}, Input{a2.position, spread}};
        });
        EXPECT_EQ(zero.Phase(), c.phase) << c.at2V << " " << c.at50mV;
    }
}

TEST_F(ZeroCalibrationTest, AbortMidStageStoresNothingAndStartsOver) {
    const CalibrateSection before = port.model.state.Calibrate;
    zero.Start();
    for (int k = 0; k < 12; ++k) {  // into the second step
        SetFrame(frame, {Position(a1Truth, Code(), Range()), 1}, {Position(a2Truth, Code(), Range()), 1});
        zero.OnFrame(frame);
    }
    zero.Abort();
    EXPECT_EQ(zero.Phase(), CalibrationPhase::Aborted);
    EXPECT_EQ(port.model.state.Calibrate, before);
    EXPECT_EQ(port.restores, 1);
    EXPECT_EQ(port.model.state.Scope.A1_Zero, 191);
    const std::size_t sends = port.sent.size();
    zero.OnFrame(frame);
    EXPECT_EQ(port.sent.size(), sends);

    zero.Start();
    Run();
    EXPECT_EQ(zero.Phase(), CalibrationPhase::Done);
    EXPECT_EQ(A1(), a1Truth);
    EXPECT_EQ(port.model.state.Scope.A1_Zero, 191);
}

// A reconnect after a lost device applies the window's own settings: the
// frames after it are not taken with the calibration's, so the run fails
// rather than store what they show.
TEST_F(ZeroCalibrationTest, SettingsReplacedMidRunFailIt) {
    const CalibrateSection before = port.model.state.Calibrate;
    zero.Start();
    for (int k = 0; k < 20; ++k) {  // into the third step
        SetFrame(frame, {Position(a1Truth, Code(), Range()), 1}, {Position(a2Truth, Code(), Range()), 1});
        zero.OnFrame(frame);
    }
    ASSERT_TRUE(zero.Measuring());
    port.model.registers.Put<4>(reg::kSampleDivider, 10);  // as the front end's apply rebuilds the image
    zero.OnFrame(frame);
    EXPECT_EQ(zero.Phase(), CalibrationPhase::Failed);
    EXPECT_EQ(port.model.state.Calibrate, before);
    EXPECT_EQ(port.restores, 1);
    EXPECT_EQ(port.model.state.Scope.A1_Zero, 191);
}

TEST_F(ZeroCalibrationTest, SingleChannelInstrumentCalibratesA1Only) {
    port.reported = 28;  // QX4001A
    const ZeroChannelCalibration a2Before = A2();
    zero.Start();
    Run([](int, Input a1, Input) { return std::pair{a1, Input{0, -1}}; });  // A2 carries nothing
    ASSERT_EQ(zero.Phase(), CalibrationPhase::Done);
    EXPECT_FALSE(zero.TwoChannels());
    EXPECT_EQ(A1(), a1Truth);
    EXPECT_EQ(A2(), a2Before);
}

}  // namespace
}  // namespace qx40
