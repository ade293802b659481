#include "calibration/tdc_calibration.h"

#include <algorithm>

#include "generator/generator_words.h"

namespace qx40 {
namespace {

struct StageSetup {
    std::uint8_t freqMeterSource;
    std::uint8_t trigFlags;
};
constexpr std::array<StageSetup, 4> kStages = {{
    {3, kTrigDigitalSource},                                     // D1 rising
    {3, kTrigDigitalSource | kTrigFalling},                      // D1 falling
    {4, kTrigDigitalSource | kTrigSecondChannel},                // D2 rising
    {4, kTrigDigitalSource | kTrigSecondChannel | kTrigFalling}, // D2 falling
}};

constexpr std::uint8_t kGeneratorOff = 0x08;  // bit 3 of A1's gain code
constexpr double kGeneratorDeciHertz = 98765432.0;  // 9.8765432 MHz
constexpr std::uint64_t kGeneratorAmplitude = 4000;
constexpr std::int32_t kSampleCount = 1000;  // at 10 ns
constexpr std::int64_t kTimePerDivNs = 500;

}  // namespace

bool TdcCalibration::TwoChannels() const {
    return Measuring() ? twoChannels_ : HasFeature(port_.ReportedModelCode(), feature::kSecondDigital);
}

void TdcCalibration::Start() {
    twoChannels_ = HasFeature(port_.ReportedModelCode(), feature::kSecondDigital);
    measured_ = {};
    stage_ = 0;
    progress_ = 0;
    phase_ = CalibrationPhase::Measuring;
    Program();
    BeginStage();
}

void TdcCalibration::Program() {
    ScopeModel& m = port_.Model();
    DerivedQuantities& d = m.derived;
    d.TimePerDivNs = kTimePerDivNs;
    d.SampleCount = kSampleCount;
    d.SampleDivider = 1;
    d.SamplesPerDiv = static_cast<std::int32_t>(kTimePerDivNs / 10);
    d.Divisions = kSampleCount / d.SamplesPerDiv;
    d.SingleChannelMode = false;
    d.RollActive = false;
    d.Lenta = false;
    d.PreTrigCount = 0;
    d.PostTrigCount = kSampleCount;
    d.TriggerCount = 1;
    DeviceSettings& r = m.registers;
    r.reg[reg::kGainCodeA1] &= static_cast<std::uint8_t>(~kGeneratorOff);
    r.reg[reg::kGenMode] = 0;   // plain
    r.reg[reg::kGenShape] = 0;  // sine
    r.Put<6>(reg::kGenFrequency, static_cast<std::uint64_t>(RoundGeneratorWord(kGeneratorDeciHertz * kPhasePerDeciHertz)));
    r.Put<2>(reg::kGenAmplitude, kGeneratorAmplitude);
    r.Put<4>(reg::kSampleDivider, 1);
    r.Put<2>(reg::kPreTrigCount, 0);
    r.Put<2>(reg::kPostTrigCount, kSampleCount);
    r.reg[reg::kTriggerCount] = 1;
    r.reg[reg::kChanMode] = 0;
    r.reg[reg::kChanEnable] = kEnableRun | 0x0C;  // D1 and D2
    r.reg[reg::kRollFlags] = 0;
}

void TdcCalibration::BeginStage() {
    const StageSetup& stage = kStages[static_cast<std::size_t>(stage_)];
    DeviceSettings& r = port_.Model().registers;
    r.reg[reg::kFreqMeterSource] = stage.freqMeterSource;
    r.reg[reg::kTrigFlags] = stage.trigFlags;
    largest_ = 0;
    frames_ = 0;
    Send(port_);
}

void TdcCalibration::OnFrame(const SampleRecord& frame) {
    if (!Measuring()) return;
    if (!StillProgrammed(port_)) return Finish(CalibrationPhase::Failed);
    ++progress_;
    if (frame.TdcFine > kHighest) return Finish(CalibrationPhase::Failed);
    largest_ = std::max(largest_, frame.TdcFine);
    if (++frames_ < kFramesPerStage) return;
    if (largest_ < kLowest) return Finish(CalibrationPhase::Failed);
    measured_[static_cast<std::size_t>(stage_)] = static_cast<std::uint8_t>(largest_);
    if (++stage_ < StageCount()) return BeginStage();
    if (!twoChannels_) measured_[2] = measured_[3] = kWithoutD2;
    Finish(CalibrationPhase::Done);
}

void TdcCalibration::Abort() {
    if (Measuring()) Finish(CalibrationPhase::Aborted);
}

void TdcCalibration::Finish(CalibrationPhase phase) {
    phase_ = phase;
    if (phase == CalibrationPhase::Done) progress_ = ProgressMaximum();
    if (phase == CalibrationPhase::Failed) progress_ = 0;
    port_.ApplyAndRestart();
}

TdcReading TdcCalibration::Reading() const {
    TdcReading reading;
    if (phase_ == CalibrationPhase::Done) {
        for (std::size_t i = 0; i < reading.size(); ++i) reading[i] = measured_[i];
    } else if (Measuring()) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(stage_); ++i) reading[i] = measured_[i];
        reading[static_cast<std::size_t>(stage_)] = largest_;
    }
    return reading;
}

}  // namespace qx40
