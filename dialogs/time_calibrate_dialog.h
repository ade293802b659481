// The frequency meter's time-base correction: a track bar of -250..250
// steps of 0.2 ppm. Every move is applied at once, so the frequency meter
// shows the corrected reading while the user compares it with a known
// frequency; OK keeps it and writes the program settings file, Cancel puts
// the old value back.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <functional>

#include "dialogs/settings_dialog.h"

namespace qx40 {

class TForm_TimeCalibrate : public SettingsDialog {
    Q_OBJECT
public:
    TForm_TimeCalibrate(ScopeSession& session, QWidget* mainWindow, std::function<bool()> saveProgramSettings);

protected:
    void CopyFields() override { time_ = State().Calibrate.Time; }
    void RestoreFields() override { State().Calibrate.Time = time_; }
    void ShowCaptions(bool russian) override;
    void FormShow() override;
    void Accepted() override { saveProgramSettings_(); }

private:
    void TrackBar_PPMChange(int position);
    void ShowPpm();

    QSlider* trackBar_ = nullptr;
    QLabel* labelPpm_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::function<bool()> saveProgramSettings_;
    std::int32_t time_ = 0;
};

}  // namespace qx40
