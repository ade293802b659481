// "Generator Modulation Settings": type, source, frequency, waveform and
// depth of the generator's modulation in the live state.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <array>

#include "dialogs/settings_dialog.h"
#include "generator/modulation_dialog_view.h"

namespace qx40 {

class TForm_GeneratorSet : public SettingsDialog {
    Q_OBJECT
public:
    TForm_GeneratorSet(ScopeSession& session, QWidget* mainWindow);

protected:
    void CopyFields() override;
    void RestoreFields() override;
    void ShowCaptions(bool russian) override;
    void FormShow() override;

private:
    void Build();
    void Connect();
    void ShowButtons();
    void UpdateGenSetView();

    void ModTypeClick(std::size_t type);
    void ModSourceClick(std::size_t source);
    void CheckBox_InvClick();
    void ModRangeClick(std::size_t range);
    void WaveformClick(std::size_t waveform);
    void DeviationClick(std::size_t deviation);
    void BarChange(std::int32_t& field, int position);

    GeneratorSection copy_;
    ModulationButtons buttons_;  // what each group shows

    QLabel* labelModType_ = nullptr;
    std::array<QToolButton*, 3> types_{};
    QLabel* labelModSrc_ = nullptr;
    std::array<QToolButton*, 5> sources_{};
    QCheckBox* inv_ = nullptr;
    QLabel* labelModFreq_ = nullptr;
    std::array<QToolButton*, 6> ranges_{};  // the noise button last
    std::array<QToolButton*, 5> waveforms_{};
    QScrollBar* mfFast_ = nullptr;
    QScrollBar* mfSlow_ = nullptr;
    QLabel* labelModK_ = nullptr;
    QScrollBar* modK_ = nullptr;
    QLabel* labelDevFM_ = nullptr;
    std::array<QToolButton*, 2> deviations_{};
    QScrollBar* devFM_ = nullptr;
    QLabel* labelSumLev_ = nullptr;
    QScrollBar* sumLev_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::array<QButtonGroup, 5> groups_;  // type, source, range, waveform, deviation
};

}  // namespace qx40
