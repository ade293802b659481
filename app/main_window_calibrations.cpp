// The calibration commands of the Options menu: each checks that the
// instrument has reported itself (and takes its model), opens its window
// and then gives the screen and the instrument the window's own settings.
#include "app/main_window.h"
#include "calibration/calibration_texts.h"
#include "dialogs/tdc_calibrate_dialog.h"
#include "dialogs/time_calibrate_dialog.h"
#include "dialogs/zero_calibrate_dialog.h"

namespace qx40 {

bool MainWindow::CalibrationInstrumentReady() {
    const bool ru = session_.State().Common.Russian;
    if (!Shared().flags.DeviceInfoValid) {
        dialogs_.Show(DeviceNotFoundMessage(ru));
        return false;
    }
    const std::int32_t reported = session_.ReportedModelCode();
    if (reported != session_.State().System.Device_Type_Code) {
        dialogs_.Show(ModelChangeMessage(reported, ru));
        SelectDeviceModel(reported);
    }
    return true;
}

void MainWindow::EndCalibration() {
    // The calibration's frames are not the user's.
    ClearMainBuffers();
    ClearBackgroundBuffers();
    ApplyAndRestart();
}

void MainWindow::Menu_ZeroCalibrateClick() {
    const ScopeSession::BusyHold busy(session_);
    if (!CalibrationInstrumentReady()) return;
    dialogSet_->zeroCalibration->Run();
    EndCalibration();
}

void MainWindow::Menu_TDCCalibrateClick() {
    const ScopeSession::BusyHold busy(session_);
    if (!CalibrationInstrumentReady()) return;
    dialogSet_->tdcCalibration->Run();
    EndCalibration();
}

void MainWindow::Menu_FM_CalibrateClick() {
    dialogSet_->timeCalibration->Run();
    ApplyAndRestart();
}

}  // namespace qx40
