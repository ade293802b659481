// A calibration as a state machine fed with the instrument's frames: Start
// programs the acquisition, each frame taken with it advances the
// measurement, and the end (success, failure or Abort) puts the front end's
// own settings back. The window's dialogs and qx40cli drive the same
// procedures; each frame arrives inside the display hand-over, so nothing
// here waits or asks the user.
#pragma once

#include <cstdint>

#include "calibration/calibration_port.h"
#include "device/device_settings.h"
#include "device/sample_record.h"

namespace qx40 {

enum class CalibrationPhase {
    Ready,      // not started
    Measuring,  // frames are awaited
    Done,       // the results are in
    Failed,     // a measurement was out of its limits; nothing was stored
    Aborted,
};

class CalibrationProcedure {
public:
    virtual ~CalibrationProcedure() = default;

    // Starts over from any phase.
    virtual void Start() = 0;
    // A new frame taken with the settings last sent; ignored unless measuring.
    virtual void OnFrame(const SampleRecord& frame) = 0;
    // Ends a measurement under way; nothing is stored.
    virtual void Abort() = 0;

    CalibrationPhase Phase() const { return phase_; }
    bool Measuring() const { return phase_ == CalibrationPhase::Measuring; }
    // Frames taken so far, of ProgressMaximum(); 0 after a failure.
    std::int32_t Progress() const { return progress_; }
    virtual std::int32_t ProgressMaximum() const = 0;

protected:
    // Sends the register image as the procedure has programmed it, and keeps
    // a copy to tell later whether the instrument still runs it.
    void Send(CalibrationPort& port) {
        programmed_ = port.Model().registers;
        port.SendRegisters();
    }
    // False once something else has rebuilt the image (a reconnect after a
    // lost device applies the front end's settings): the frames are then no
    // longer taken with the procedure's settings.
    bool StillProgrammed(CalibrationPort& port) const { return port.Model().registers == programmed_; }

    CalibrationPhase phase_ = CalibrationPhase::Ready;
    std::int32_t progress_ = 0;

private:
    DeviceSettings programmed_{};
};

}  // namespace qx40
