// The zero calibration window: with nothing on the inputs, Start runs the
// zero calibration; OK keeps the new calibration and writes the program
// settings file, Cancel puts the old one back. Label_D shows the numbers
// with the Debug_qx switch only.
#pragma once

#include <functional>

#include "calibration/zero_calibration.h"
#include "dialogs/calibration_dialog.h"

namespace qx40 {

class TForm_ZeroCalibrate : public CalibrationDialog {
    Q_OBJECT
public:
    // saveProgramSettings writes the program settings file (on OK).
    TForm_ZeroCalibrate(ScopeSession& session, QWidget* mainWindow, std::function<bool()> saveProgramSettings);

protected:
    CalibrationProcedure& Procedure() override { return procedure_; }
    void CopyFields() override;
    void RestoreFields() override;
    void FormShow() override;
    void ShowStart() override;
    void ShowResult() override;
    void Accepted() override;

private:
    bool TwoChannels();
    void ShowCalibration();
    void RestoreChannels();

    ZeroCalibration procedure_;
    std::function<bool()> saveProgramSettings_;
    CalibrateSection calibration_;
    std::int32_t zeroA1_ = 0, zeroA2_ = 0;
    bool channelA1_ = false, channelA2_ = false;
};

}  // namespace qx40
