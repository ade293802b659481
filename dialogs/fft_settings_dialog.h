// The FFT settings dialog: size, window and scale of the spectrum, volts in
// place of dBV, averaging and (a service control) the instrument's dither.
// Every click takes effect at once; the edits of size, window, scale and
// averaging start a new spectrum with a fresh average.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <vector>

#include "dialogs/settings_dialog.h"
#include "spectrum/fft_settings_controls.h"

namespace qx40 {

class TForm_FFTSet : public SettingsDialog {
    Q_OBJECT
public:
    TForm_FFTSet(ScopeSession& session, QWidget* mainWindow);

protected:
    void CopyFields() override { copy_ = State().FFT; }
    void RestoreFields() override;
    void ShowCaptions(bool russian) override;
    void FormShow() override;

private:
    // A radio group or a check box, as FftControls() lists them.
    struct Control {
        const FftControlInfo* info = nullptr;
        QGroupBox* group = nullptr;
        QButtonGroup* buttons = nullptr;
        std::vector<QRadioButton*> items;
        QCheckBox* check = nullptr;
    };
    void BuildControl(Control& c, const FftControlInfo& info);
    void ControlClick(FftControl control, int value);
    Control& Of(FftControl control) { return controls_[static_cast<std::size_t>(control)]; }

    std::array<Control, 6> controls_;
    QPushButton* buttonOK_ = nullptr;
    QPushButton* buttonCancel_ = nullptr;
    FftSection copy_;
};

}  // namespace qx40
