#include "dialogs/zero_calibrate_dialog.h"

namespace qx40 {

TForm_ZeroCalibrate::TForm_ZeroCalibrate(ScopeSession& session, QWidget* mainWindow,
                                         std::function<bool()> saveProgramSettings)
    : CalibrationDialog(session, mainWindow, "Form_ZeroCalibrate", "ProgressBar_ZeroClbr", ZeroCalibrateCaptions()),
      procedure_(session),
      saveProgramSettings_(std::move(saveProgramSettings)) {}

bool TForm_ZeroCalibrate::TwoChannels() { return HasFeature(Session().ReportedModelCode(), feature::kSecondAnalog); }

void TForm_ZeroCalibrate::CopyFields() {
    const ScopeState& s = State();
    calibration_ = s.Calibrate;
    zeroA1_ = s.Scope.A1_Zero;
    zeroA2_ = s.Scope.A2_Zero;
    channelA1_ = s.Common.CH_A1;
    channelA2_ = s.Common.CH_A2;
}

void TForm_ZeroCalibrate::RestoreChannels() {
    State().Common.CH_A1 = channelA1_;
    State().Common.CH_A2 = channelA2_;
}

void TForm_ZeroCalibrate::RestoreFields() {
    ScopeState& s = State();
    s.Calibrate = calibration_;
    s.Scope.A1_Zero = zeroA1_;
    s.Scope.A2_Zero = zeroA2_;
    RestoreChannels();
}

void TForm_ZeroCalibrate::FormShow() {
    CalibrationDialog::FormShow();
    // The traces measured are shown while the calibration runs.
    State().Common.CH_A1 = true;
    if (TwoChannels()) State().Common.CH_A2 = true;
    labelD_->setVisible(State().System.Debug_qx);
    ShowCalibration();
}

void TForm_ZeroCalibrate::ShowCalibration() {
    labelD_->setText(LabelText(ZeroCalibrationText(State().Calibrate, TwoChannels())));
}

void TForm_ZeroCalibrate::ShowStart() { labelD_->setText("..."); }

void TForm_ZeroCalibrate::ShowResult() { ShowCalibration(); }

void TForm_ZeroCalibrate::Accepted() {
    RestoreChannels();
    saveProgramSettings_();
}

}  // namespace qx40
