#include "calibration/zero_calibration.h"

#include "base/round_nearest.h"

namespace qx40 {
namespace {

struct Step {
    std::uint16_t code;  // sent to both offset registers
    std::int32_t limit;  // a frame counts when its spread is below it
};
// Three stages of three codes, 19 either side of each stage's centre, so a
// stage's sum is three times the position at the centre code.
constexpr std::array<Step, ZeroCalibration::kStepCount> kSteps = {{
    {1360, 12}, {1341, 12}, {1379, 12},  // 2 V/div
    {3040, 12}, {3021, 12}, {3059, 12},  // 2 V/div
    {2200, 16}, {2181, 16}, {2219, 16},  // 50 mV/div
}};
constexpr std::int32_t kStepsPerStage = 3;
constexpr std::int32_t kFirstStepAt50mV = 6;

// Range codes sent as they are; bits 3..5 (generator off, AC, dither) come
// with them.
constexpr std::uint8_t kGain2V = 0x3B;
constexpr std::uint8_t kGain50mV = 0x38;
constexpr std::int32_t k2V = 2000000;  // microvolts per division
constexpr std::int32_t k50mV = 50000;

constexpr std::int32_t kSampleCount = 5000;
constexpr std::int64_t kTimePerDivNs = 2000000;
constexpr std::int32_t kDivisions = 10;

std::int32_t& ZeroOf(ScopeState& s, std::size_t channel) { return channel == 0 ? s.Scope.A1_Zero : s.Scope.A2_Zero; }

void SetRange(ScopeModel& m, std::uint8_t gain, std::int32_t microVolts) {
    m.registers.reg[reg::kGainCodeA1] = m.registers.reg[reg::kGainCodeA2] = gain;
    DerivedQuantities& d = m.derived;
    d.BaseMicroVoltsA1 = d.BaseMicroVoltsA2 = d.VoltsDivA1 = d.VoltsDivA2 = microVolts;
}

}  // namespace

ZeroChannelCalibration ComputeZeroCalibration(const std::array<double, 3>& stageSums) {
    // Each stage's mean position, in sixteenths of a code.
    constexpr double kSixteenThirds = 5.333333333333333;
    const double p1 = stageSums[0] * kSixteenThirds;
    const double p2 = stageSums[1] * kSixteenThirds;
    const double p3 = stageSums[2] * kSixteenThirds;
    // The zero line is linear in the offset code plus an input offset that
    // is 40 times larger at 50 mV/div than at 2 V/div. Stage 3 sits halfway
    // between the other two codes, so d is 39 times the offset at 2 V/div:
    // P1 and P2 are freed of it, SH is the offset at 50 mV/div.
    constexpr double kOne39th = 0.02564102564102564;
    const double d = p3 - (p1 + p2) * 0.5;
    return {RoundNearest(p1 - d * kOne39th), RoundNearest(p2 - d * kOne39th), RoundNearest(40.0 * d * kOne39th)};
}

void ZeroCalibration::Start() {
    ScopeState& s = port_.Model().state;
    if (!Measuring()) savedZero_ = {s.Scope.A1_Zero, s.Scope.A2_Zero};
    twoChannels_ = HasFeature(port_.ReportedModelCode(), feature::kSecondAnalog);
    sums_ = {};
    step_ = 0;
    progress_ = 0;
    phase_ = CalibrationPhase::Measuring;
    Program();
    BeginStep();
}

void ZeroCalibration::Program() {
    ScopeModel& m = port_.Model();
    DerivedQuantities& d = m.derived;
    d.TimePerDivNs = kTimePerDivNs;
    d.SampleCount = kSampleCount;
    d.Divisions = kDivisions;
    d.SamplesPerDiv = kSampleCount / kDivisions;
    d.SampleDivider = static_cast<std::int32_t>(kTimePerDivNs / kSampleCount);  // 400
    d.SingleChannelMode = false;
    d.RollActive = false;
    d.Lenta = false;
    d.PreTrigCount = 0;
    d.PostTrigCount = kSampleCount;
    d.TriggerCount = 0;
    DeviceSettings& r = m.registers;
    r.Put<4>(reg::kSampleDivider, static_cast<std::uint64_t>(d.SampleDivider));
    r.Put<2>(reg::kPreTrigCount, 0);
    r.Put<2>(reg::kPostTrigCount, kSampleCount);
    r.reg[reg::kTriggerCount] = 0;
    r.reg[reg::kTrigFlags] = 0;
    r.reg[reg::kChanMode] = 0;
    r.reg[reg::kChanEnable] = kEnableRun | 0x03;  // A1 and A2
    r.reg[reg::kRollFlags] = 0;
    SetRange(m, kGain2V, k2V);
}

void ZeroCalibration::BeginStep() {
    const Step& step = kSteps[static_cast<std::size_t>(step_)];
    DeviceSettings& r = port_.Model().registers;
    r.Put<2>(reg::kOffsetA1, step.code);
    r.Put<2>(reg::kOffsetA2, step.code);
    best_ = {step.limit, step.limit};
    found_ = {false, !twoChannels_};
    frame_ = 0;
    Send(port_);
}

void ZeroCalibration::OnFrame(const SampleRecord& frame) {
    if (!Measuring()) return;
    if (!StillProgrammed(port_)) return Finish(CalibrationPhase::Failed);
    ++progress_;
    const std::int32_t k = frame_++;
    const std::int32_t n = frame.Info[fi::ValidPoints];
    if (k >= kFirstFrameUsed && n != 0) {
        ScopeState& s = port_.Model().state;
        for (std::size_t c = 0; c < Channels(); ++c) {
            const std::int32_t spread = frame.Info[fi::PeakToPeakA1 + c];
            if (spread < 0 || spread >= best_[c]) continue;  // clipped, or not quieter
            best_[c] = spread;
            position_[c] = static_cast<double>(frame.Info[fi::SumA1 + c]) / n;
            ZeroOf(s, c) = RoundNearest(position_[c]);  // the screen shows the line found
            found_[c] = true;
        }
    }
    if (frame_ == kFramesPerStep) EndStep();
}

void ZeroCalibration::EndStep() {
    if (!found_[0] || !found_[1]) return Finish(CalibrationPhase::Failed);
    const auto stage = static_cast<std::size_t>(step_ / kStepsPerStage);
    for (std::size_t c = 0; c < Channels(); ++c) sums_[c][stage] += position_[c];
    if (++step_ < kStepCount) {
        if (step_ == kFirstStepAt50mV) SetRange(port_.Model(), kGain50mV, k50mV);
        return BeginStep();
    }
    CalibrateSection& cal = port_.Model().state.Calibrate;
    const ZeroChannelCalibration a1 = ComputeZeroCalibration(sums_[0]);
    cal.Z_A1P1 = a1.P1, cal.Z_A1P2 = a1.P2, cal.Z_A1SH = a1.SH;
    if (twoChannels_) {
        const ZeroChannelCalibration a2 = ComputeZeroCalibration(sums_[1]);
        cal.Z_A2P1 = a2.P1, cal.Z_A2P2 = a2.P2, cal.Z_A2SH = a2.SH;
    }
    Finish(CalibrationPhase::Done);
}

void ZeroCalibration::Abort() {
    if (Measuring()) Finish(CalibrationPhase::Aborted);
}

void ZeroCalibration::Finish(CalibrationPhase phase) {
    phase_ = phase;
    if (phase == CalibrationPhase::Done) progress_ = ProgressMaximum();
    if (phase == CalibrationPhase::Failed) progress_ = 0;
    ScopeState& s = port_.Model().state;
    s.Scope.A1_Zero = savedZero_[0];
    s.Scope.A2_Zero = savedZero_[1];
    port_.ApplyAndRestart();
}

}  // namespace qx40
