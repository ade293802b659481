// A calibration port without an instrument: it keeps the images the
// procedure sends and counts the restores, and the test feeds the procedure
// frames it makes by hand.
#pragma once

#include <vector>

#include "calibration/calibration_port.h"
#include "device/sample_record.h"

namespace qx40::testing_support {

class TestCalibrationPort : public CalibrationPort {
public:
    ScopeModel& Model() override { return model; }
    std::int32_t ReportedModelCode() const override { return reported; }
    void SendRegisters() override {
        sent.push_back(model.registers);
        sentDerived.push_back(model.derived);
    }
    void ApplyAndRestart() override {
        ++restores;
        zeroAtRestore = {model.state.Scope.A1_Zero, model.state.Scope.A2_Zero};
    }

    ScopeModel model;
    std::int32_t reported = 31;  // QX4003: two analog and two digital channels
    std::vector<DeviceSettings> sent;
    std::vector<DerivedQuantities> sentDerived;
    int restores = 0;
    std::array<std::int32_t, 2> zeroAtRestore{};
};

}  // namespace qx40::testing_support
