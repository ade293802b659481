// The TDC calibration: how many interpolator steps the instrument's TDC
// counts per 10 ns clock period, for the rising and the falling edge of D1
// and D2. The generator runs a 9.8765432 MHz sine, which the user wires to
// the logic inputs; the acquisition triggers on each channel and edge in
// turn, and over 50 frames the largest TDC count is that number of steps.
//
// Four stages of 50 frames (two on an instrument without D2, which then
// gets 20 for both D2 values). A count above 27 fails the calibration at
// once, and so does a stage whose largest count stays below 12: the
// interpolator is out of range, or no edge reaches the channel.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "calibration/calibration_port.h"
#include "calibration/calibration_procedure.h"

namespace qx40 {

// Steps per period in the order the instrument stores them: rise D1, fall
// D1, rise D2, fall D2.
using TdcSteps = std::array<std::uint8_t, 4>;
// The same with a value not known (yet) left empty.
using TdcReading = std::array<std::optional<std::int32_t>, 4>;

class TdcCalibration : public CalibrationProcedure {
public:
    static constexpr std::int32_t kFramesPerStage = 50;
    static constexpr std::int32_t kLowest = 12;   // fewest steps of a sound TDC
    static constexpr std::int32_t kHighest = 27;  // most steps
    static constexpr std::uint8_t kWithoutD2 = 20;

    explicit TdcCalibration(CalibrationPort& port) : port_(port) {}

    void Start() override;
    void OnFrame(const SampleRecord& frame) override;
    void Abort() override;
    std::int32_t ProgressMaximum() const override { return StageCount() * kFramesPerStage; }

    // The instrument has a second digital channel: four stages, not two.
    bool TwoChannels() const;
    // 0..3 while measuring: D1 rise, D1 fall, D2 rise, D2 fall.
    std::int32_t Stage() const { return stage_; }
    // The values finished so far and the running maximum of the stage under
    // way; the rest empty.
    TdcReading Reading() const;
    // The result of a successful run.
    const TdcSteps& Measured() const { return measured_; }

private:
    std::int32_t StageCount() const { return TwoChannels() ? 4 : 2; }
    void Program();
    void BeginStage();
    void Finish(CalibrationPhase phase);

    CalibrationPort& port_;
    bool twoChannels_ = false;  // of the run under way
    std::int32_t stage_ = 0;
    std::int32_t frames_ = 0;  // of the stage
    std::int32_t largest_ = 0;
    TdcSteps measured_{};
};

}  // namespace qx40
