// The zero calibration: with nothing on the inputs, where each analog
// channel's zero line lies at three offset codes around 1360 and 3040 at
// 2 V/div and around 2200 at 50 mV/div. From those positions follow the
// channel's three calibration numbers, which ZeroOffsetCode turns into the
// offset code of any zero position and range.
//
// Nine steps of eight frames: each step sends one offset code to both
// channels and takes the quietest of frames 3..7 (the first three may still
// show the old code); a step in which no frame is quiet enough for a
// channel fails the calibration. The fields change only when all nine steps
// succeed; A2 is calibrated only on an instrument that has it.
#pragma once

#include <array>
#include <cstdint>

#include "calibration/calibration_port.h"
#include "calibration/calibration_procedure.h"

namespace qx40 {

struct ZeroChannelCalibration {
    std::int32_t P1 = 0;
    std::int32_t P2 = 0;
    std::int32_t SH = 0;
    bool operator==(const ZeroChannelCalibration&) const = default;
};

// A channel's numbers from the sums of its three stages (each the sum of
// the zero positions, in codes, at the stage's three offset codes).
ZeroChannelCalibration ComputeZeroCalibration(const std::array<double, 3>& stageSums);

class ZeroCalibration : public CalibrationProcedure {
public:
    static constexpr std::int32_t kStepCount = 9;
    static constexpr std::int32_t kFramesPerStep = 8;
    static constexpr std::int32_t kFirstFrameUsed = 3;

    explicit ZeroCalibration(CalibrationPort& port) : port_(port) {}

    void Start() override;
    void OnFrame(const SampleRecord& frame) override;
    void Abort() override;
    std::int32_t ProgressMaximum() const override { return kStepCount * kFramesPerStep; }

    // The instrument has a second analog channel: A2 is calibrated too.
    bool TwoChannels() const { return twoChannels_; }

private:
    std::size_t Channels() const { return twoChannels_ ? 2 : 1; }
    void Program();
    void BeginStep();
    void EndStep();
    void Finish(CalibrationPhase phase);

    CalibrationPort& port_;
    bool twoChannels_ = false;
    std::array<std::int32_t, 2> savedZero_{};  // A1_Zero, A2_Zero before the run
    std::int32_t step_ = 0;
    std::int32_t frame_ = 0;  // of the step
    std::array<std::int32_t, 2> best_{};
    std::array<bool, 2> found_{};
    std::array<double, 2> position_{};  // of the quietest frame so far, in codes
    std::array<std::array<double, 3>, 2> sums_{};  // per channel and stage
};

}  // namespace qx40
