#include "dialogs/tdc_calibrate_dialog.h"

namespace qx40 {

TForm_TDCCalibrate::TForm_TDCCalibrate(ScopeSession& session, QWidget* mainWindow)
    : CalibrationDialog(session, mainWindow, "Form_TDCCalibrate", "ProgressBar_TDCClbr", TdcCalibrateCaptions()),
      procedure_(session) {}

void TForm_TDCCalibrate::CopyFields() {
    channelD1_ = State().Common.CH_D1;
    channelD2_ = State().Common.CH_D2;
}

void TForm_TDCCalibrate::RestoreFields() {
    State().Common.CH_D1 = channelD1_;
    State().Common.CH_D2 = channelD2_;
}

void TForm_TDCCalibrate::FormShow() {
    CalibrationDialog::FormShow();
    const bool two = procedure_.TwoChannels();
    State().Common.CH_D1 = true;
    if (two) State().Common.CH_D2 = true;
    // What the instrument reports, until it is asked to store others.
    if (Session().Shared().flags.TdcValid) {
        const DeviceFacts f = Session().Shared().facts.Get();
        const TdcReading reported = {f.TDC_Rise_A1, f.TDC_Fall_A1, f.TDC_Rise_A2, f.TDC_Fall_A2};
        labelD_->setText(LabelText(TdcReadingText(reported, two ? 2 : 1, Russian())));
    } else {
        labelD_->setText("...");
    }
}

void TForm_TDCCalibrate::ShowRunning() {
    // The D2 line joins once its stages begin.
    const int lines = procedure_.Stage() < 2 ? 1 : 2;
    labelD_->setText(LabelText(TdcReadingText(procedure_.Reading(), lines, Russian())));
}

void TForm_TDCCalibrate::ShowResult() {
    labelD_->setText(LabelText(TdcReadingText(procedure_.Reading(), procedure_.TwoChannels() ? 2 : 1, Russian())));
}

void TForm_TDCCalibrate::ShowFailure() { labelD_->setText("..."); }

void TForm_TDCCalibrate::Accepted() {
    RestoreFields();
    Session().RequestTdcWrite(procedure_.Measured());
}

}  // namespace qx40
