// What a calibration procedure needs of the running instrument. ScopeSession
// provides it; tests provide their own to feed the procedures hand-made
// frames.
#pragma once

#include <cstdint>

#include "scope/scope_model.h"

namespace qx40 {

class CalibrationPort {
public:
    virtual ~CalibrationPort() = default;

    // The state, the derived values and the register image: a procedure
    // programs the last two directly and puts back what it changed of the
    // first.
    virtual ScopeModel& Model() = 0;
    // The model code the instrument reported about itself; its features say
    // which channels there are to calibrate.
    virtual std::int32_t ReportedModelCode() const = 0;
    // Runs the instrument with Model().registers as they stand, without
    // rebuilding them from the state; the frames are decoded after
    // Model().derived.
    virtual void SendRegisters() = 0;
    // The state's own settings again: rebuilds the image and sends it.
    virtual void ApplyAndRestart() = 0;
};

}  // namespace qx40
