// What the zero and the TDC calibration windows share: an instruction line
// (Label_Info), a read-out (Label_D), a progress bar, Start, OK and Cancel,
// and a procedure of calibration/ that Start runs. The procedure takes its
// frames from the session's frame observer, inside the display hand-over,
// so the window stays responsive while it measures and nothing modal opens
// meanwhile. Ready: Start enabled, OK not; measuring: neither; done: both;
// failed: Start. Cancel during a measurement aborts it without a word.
#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <span>
#include <string>

#include "calibration/calibration_procedure.h"
#include "calibration/calibration_texts.h"
#include "dialogs/settings_dialog.h"

namespace qx40 {

class CalibrationDialog : public SettingsDialog {
    Q_OBJECT
public:
    CalibrationDialog(ScopeSession& session, QWidget* mainWindow, const char* objectName, const char* progressName,
                      std::span<const CalibrationCaption> captions);
    ~CalibrationDialog() override;

protected:
    virtual CalibrationProcedure& Procedure() = 0;
    // Label_D at the start of a run, after each frame of it, at its end.
    virtual void ShowStart() {}
    virtual void ShowRunning() {}
    virtual void ShowResult() {}
    virtual void ShowFailure() {}

    void ShowCaptions(bool russian) override;
    // The buttons, the progress bar and the instruction; a derived window
    // adds its own.
    void FormShow() override;
    void reject() override;

    // CR LF line breaks as the label shows them.
    static QString LabelText(const std::string& text);

    QLabel* labelInfo_ = nullptr;
    QLabel* labelD_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;

private:
    void Button_StartClick();
    void FrameArrived(const SampleRecord& frame);
    void ShowEnd();

    std::span<const CalibrationCaption> captions_;
};

// Sets the captions of a calibration window in one language: the row named
// like the window is its title, the others its labels and buttons.
void ApplyCalibrationCaptions(QDialog& window, std::span<const CalibrationCaption> captions, bool russian);

}  // namespace qx40
