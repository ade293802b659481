// The TDC calibration window: with the generator wired to the logic inputs,
// Start measures the TDC steps of each channel and edge; OK has the next
// settings sent carry them into the instrument, Cancel stores nothing.
// Label_D shows what the instrument reports, then the running values.
#pragma once

#include "calibration/tdc_calibration.h"
#include "dialogs/calibration_dialog.h"

namespace qx40 {

class TForm_TDCCalibrate : public CalibrationDialog {
    Q_OBJECT
public:
    TForm_TDCCalibrate(ScopeSession& session, QWidget* mainWindow);

protected:
    CalibrationProcedure& Procedure() override { return procedure_; }
    void CopyFields() override;
    void RestoreFields() override;
    void FormShow() override;
    void ShowRunning() override;
    void ShowResult() override;
    void ShowFailure() override;
    void Accepted() override;

private:
    TdcCalibration procedure_;
    bool channelD1_ = false, channelD2_ = false;
};

}  // namespace qx40
