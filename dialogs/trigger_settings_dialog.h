// "Trigger Settings": pre-trigger, noise reject, edge count and the T+
// conditions (pulse time, slew time, logic levels) of the live state.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <array>

#include "dialogs/settings_dialog.h"
#include "trigger/trigger_dialog_view.h"

namespace qx40 {

class TForm_TrigSet : public SettingsDialog {
    Q_OBJECT
public:
    TForm_TrigSet(ScopeSession& session, QWidget* mainWindow);

protected:
    void CopyFields() override;
    void RestoreFields() override;
    void ShowCaptions(bool russian) override;
    void FormShow() override;

private:
    void Build();
    void Connect();
    void UpdateTrigSetView();

    void RadioGroup_PreTrigClick(int index);
    void RadioGroup_NRClick(int index);
    void ScrollBar_Trig_NChange(int position);
    void CheckBox_Trig_PTModeClick();
    void CheckBox_Slew_ModeClick();
    void ScrollBar_Trig_SlewChange(int position);
    void PulseTimeStepClick(std::size_t step);
    void ScrollBar_Trig_PTminChange();
    void ScrollBar_Trig_PTmaxChange();
    void CheckBox_LevClick(std::size_t bit);

    TriggerSection copy_;

    QGroupBox* preTrig_ = nullptr;
    QButtonGroup preTrigItems_;
    QGroupBox* noiseReject_ = nullptr;
    QButtonGroup noiseRejectItems_;
    QLabel* labelTrigN_ = nullptr;
    QScrollBar* trigN_ = nullptr;
    QGroupBox* conditions_ = nullptr;
    QLabel* labelPTMode_ = nullptr;
    QCheckBox* ptMode_ = nullptr;
    std::array<QToolButton*, 6> steps_{};
    QButtonGroup stepGroup_;
    QScrollBar* ptMin_ = nullptr;
    QScrollBar* ptMax_ = nullptr;
    QLabel* labelSlewMode_ = nullptr;
    QCheckBox* slewMode_ = nullptr;
    QScrollBar* slew_ = nullptr;
    QLabel* labelLev_ = nullptr;
    std::array<QCheckBox*, kLevelBoxCount> levels_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace qx40
