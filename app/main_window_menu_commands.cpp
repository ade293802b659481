// The menu commands: each changes the state and applies; SyncMenus makes
// every item show the state afterwards.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

#include "app/main_window.h"
#include "dialogs/about_box.h"
#include "dialogs/colour_settings_dialog.h"
#include "dialogs/fft_settings_dialog.h"
#include "dialogs/generator_settings_dialog.h"
#include "dialogs/trigger_settings_dialog.h"
#include "files/program_paths.h"
#include "scope/value_tables.h"

namespace qx40 {
namespace {

void SetChecked(QAction* a, bool checked) {
    const QSignalBlocker block(a);
    a->setChecked(checked);
}

// A submenu and every item under it, so that their shortcuts follow too.
void EnableWithin(QMenu* menu, bool enabled) {
    menu->menuAction()->setEnabled(enabled);
    for (QAction* a : menu->actions()) {
        if (QMenu* sub = a->menu())
            EnableWithin(sub, enabled);
        else
            a->setEnabled(enabled);
    }
}

}  // namespace

void MainWindow::ConnectMenus() {
    const auto triggered = [this](QAction* a, std::function<void()> f) {
        connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
    };
    const auto andRestart = [this, triggered](QAction* a, std::function<void()> set) {
        triggered(a, [this, set = std::move(set)] {
            set();
            ApplyAndRestart();
        });
    };
    const auto andView = [this, triggered](QAction* a, std::function<void()> set) {
        triggered(a, [this, set = std::move(set)] {
            set();
            ApplySettings();
        });
    };
    ScopeState& s = session_.State();
    CommonSection& c = s.Common;

    connect(menus_.file, &QMenu::aboutToShow, this, [this] { Menu_FileClick(); });
    connect(menus_.view, &QMenu::aboutToShow, this, [this] { Menu_ViewClick(); });
    triggered(menus_.open, [this] { Menu_OpenClick(); });
    triggered(menus_.openSettings, [this] { Menu_Open_SettingsClick(); });
    triggered(menus_.saveAs, [this] { Menu_Save_AsClick(); });
    triggered(menus_.saveSettingsAs, [this] { Menu_Save_Settings_AsClick(); });
    for (QAction* a : {menus_.image, menus_.text, menus_.rawBinary[0], menus_.rawBinary[1], menus_.rawBinary[2],
                       menus_.rawBinary[3], menus_.csv}) {
        const std::string name = a->objectName().toStdString();
        triggered(a, [this, name] { Menu_ExportClick(name); });
    }
    triggered(menus_.recorder, [this] { Menu_RecorderClick(); });
    triggered(menus_.trigger, [this] { Menu_TriggerClick(); });
    triggered(menus_.generatorSet, [this] { Menu_GeneratorSetClick(); });
    triggered(menus_.fftSet, [this] { Menu_FFTSetClick(); });
    triggered(menus_.colors, [this] { Menu_ColorsClick(); });
    triggered(menus_.about, [this] { Menu_AboutClick(); });
    triggered(menus_.zeroCalibrate, [this] { Menu_ZeroCalibrateClick(); });
    triggered(menus_.fmCalibrate, [this] { Menu_FM_CalibrateClick(); });
    triggered(menus_.tdcCalibrate, [this] { Menu_TDCCalibrateClick(); });
    triggered(menus_.helpContents, [this] { Menu_Help_ContentsClick(); });
    const std::int32_t kCodes[3] = {28, 25, 31};
    for (std::size_t m = 0; m < 3; ++m) triggered(menus_.models[m], [this, code = kCodes[m]] { SelectDeviceModel(code); });
    triggered(menus_.exit, [this] { Menu_ExitClick(); });

    andRestart(menus_.peakDetect, [&c] { c.SmplPeakDet = !c.SmplPeakDet; });
    for (std::size_t i = 0; i < menus_.samples.size(); ++i)
        andRestart(menus_.samples[i], [&c, i] { c.SampleCount = static_cast<SampleCountChoice>(i); });
    for (std::size_t i = 0; i < menus_.divisions.size(); ++i)
        andRestart(menus_.divisions[i], [&c, i] { c.SignalLength = static_cast<SignalLength>(i); });
    for (std::size_t i = 0; i < menus_.frameRates.size(); ++i)
        andRestart(menus_.frameRates[i], [&c, i] { c.FrameRate = static_cast<FrameRate>(i); });
    for (std::size_t i = 0; i < menus_.freqMeterInputs.size(); ++i)
        andRestart(menus_.freqMeterInputs[i], [&c, i] { c.FreqMeter = static_cast<FreqMeterSource>(i); });
    bool* channels[4] = {&c.CH_A1, &c.CH_A2, &c.CH_D1, &c.CH_D2};
    for (std::size_t i = 0; i < 4; ++i) andRestart(menus_.channels[i], [on = channels[i]] { *on = !*on; });
    andRestart(menus_.lenta, [&c] { c.Lenta = !c.Lenta; });
    triggered(menus_.markers1, [this] { Menu_Markers_Click(1); });
    triggered(menus_.markers2, [this] { Menu_Markers_Click(2); });
    andView(menus_.measure, [&c] { c.Measure = !c.Measure; });
    andView(menus_.grid, [&c] { c.Grid = !c.Grid; });
    andView(menus_.trigPosL, [&c] { c.TrigPosL = !c.TrigPosL; });
    andView(menus_.extraInfo, [&c] { c.Extra_Info = !c.Extra_Info; });
    andView(menus_.trigPulseTime, [&c] { c.Trig_PT = !c.Trig_PT; });
    andView(menus_.bgView, [&s] { s.View.BG_View = !s.View.BG_View; });
    andView(menus_.onTop, [&c] { c.On_Top = !c.On_Top; });
    for (std::size_t i = 0; i < menus_.drawModes.size(); ++i)
        andView(menus_.drawModes[i], [&c, i] { c.DrawMode = static_cast<DrawMode>(i); });
    triggered(menus_.generatorView, [this] { Menu_Gen_ViewClick(); });
    triggered(menus_.compact, [this] { Menu_CompactClick(); });
    triggered(menus_.fftA1, [this] { Menu_FFT_Click(1); });
    triggered(menus_.fftA2, [this] { Menu_FFT_Click(2); });
    triggered(menus_.bgSwap, [this] { Menu_BG_DoClick(); });
    triggered(menus_.bgClear, [this] { Menu_BG_ClrClick(); });
    triggered(menus_.russian, [this] { Menu_LanguageClick(true); });
    triggered(menus_.english, [this] { Menu_LanguageClick(false); });
}

void MainWindow::SyncMenus() {
    const ScopeState& s = session_.State();
    const CommonSection& c = s.Common;
    for (std::size_t i = 0; i < menus_.samples.size(); ++i)
        SetChecked(menus_.samples[i], c.SampleCount == static_cast<SampleCountChoice>(i));
    for (std::size_t i = 0; i < menus_.divisions.size(); ++i)
        SetChecked(menus_.divisions[i], c.SignalLength == static_cast<SignalLength>(i));
    for (std::size_t i = 0; i < menus_.frameRates.size(); ++i)
        SetChecked(menus_.frameRates[i], c.FrameRate == static_cast<FrameRate>(i));
    for (std::size_t i = 0; i < menus_.freqMeterInputs.size(); ++i)
        SetChecked(menus_.freqMeterInputs[i], c.FreqMeter == static_cast<FreqMeterSource>(i));
    for (std::size_t i = 0; i < menus_.drawModes.size(); ++i)
        SetChecked(menus_.drawModes[i], c.DrawMode == static_cast<DrawMode>(i));
    for (std::size_t p = 0; p < 3; ++p) {
        SetChecked(panel_.channel[0].probes[p], c.ProbeA1 == static_cast<Probe>(p));
        SetChecked(panel_.channel[1].probes[p], c.ProbeA2 == static_cast<Probe>(p));
    }
    const std::int32_t code = s.System.Device_Type_Code;
    for (auto [item, value] :
         {std::pair{menus_.peakDetect, c.SmplPeakDet}, {menus_.channels[kA1], c.CH_A1}, {menus_.channels[kA2], c.CH_A2},
          {menus_.channels[kD1], c.CH_D1}, {menus_.channels[kD2], c.CH_D2}, {menus_.markers1, c.Markers_1},
          {menus_.markers2, c.Markers_2}, {menus_.measure, c.Measure}, {menus_.grid, c.Grid},
          {menus_.trigPosL, c.TrigPosL}, {menus_.extraInfo, c.Extra_Info}, {menus_.trigPulseTime, c.Trig_PT},
          {menus_.generatorView, c.Generator}, {menus_.onTop, c.On_Top}, {menus_.lenta, c.Lenta},
          {menus_.bgView, s.View.BG_View}, {menus_.compact, s.View.Compact}, {menus_.fftA1, s.FFT.View_A1},
          {menus_.fftA2, s.FFT.View_A2}, {menus_.russian, c.Russian}, {menus_.english, !c.Russian},
          {menus_.models[0], code == 28}, {menus_.models[1], code == 25}, {menus_.models[2], code == 31}})
        SetChecked(item, value);
    menus_.lenta->setEnabled(Model().panel.LentaEnabled);
    EnableFileCommands();
}

// A record opened while acquisition runs would be overwritten by the next
// frame at once, so the data-file, export and device commands wait for the
// stop; the actions themselves follow the run state, so that their shortcuts
// do too.
void MainWindow::EnableFileCommands() {
    const bool enabled = !Shared().flags.RunFlag || session_.State().System.Debug_qx;
    menus_.saveAs->setEnabled(enabled);
    menus_.open->setEnabled(enabled);
    EnableWithin(menus_.exportMenu, enabled);
    menus_.device->menuAction()->setEnabled(enabled);
}

void MainWindow::Menu_FileClick() {
    EnableFileCommands();
}

void MainWindow::Menu_ViewClick() {
    const bool background = BackgroundRecord().HasData();
    menus_.bgView->setEnabled(background);
    menus_.bgClear->setEnabled(background);
    menus_.bgSwap->setEnabled(!Shared().flags.RunFlag && (MainRecord().HasData() || background));
}

void MainWindow::Menu_Markers_Click(int which) {
    CommonSection& c = session_.State().Common;
    bool& mine = which == 1 ? c.Markers_1 : c.Markers_2;
    mine = !mine;
    if (mine) (which == 1 ? c.Markers_2 : c.Markers_1) = false;
    ApplySettings();
}

void MainWindow::Menu_FFT_Click(int channel) {
    FftSection& f = session_.State().FFT;
    bool& mine = channel == 1 ? f.View_A1 : f.View_A2;
    mine = !mine;
    if (mine) (channel == 1 ? f.View_A2 : f.View_A1) = false;
    ApplyAndRestart();
    spectrumRequest_ = true;
}

void MainWindow::Menu_CompactClick() {
    ViewSection& v = session_.State().View;
    v.Compact = !v.Compact;
    ArrangePanels(v.Compact, session_.State().Common.Generator);
    RecalcScreenGeometry();
    ApplySettings();
}

void MainWindow::Menu_Gen_ViewClick() {
    CommonSection& c = session_.State().Common;
    c.Generator = !c.Generator;
    ArrangePanels(session_.State().View.Compact, c.Generator);
    RecalcScreenGeometry();
    ApplySettings();
}

void MainWindow::Menu_LanguageClick(bool russian) {
    session_.State().Common.Russian = russian;
    ApplyCaptionsNow();
    ApplySettings();
}

void MainWindow::Menu_BG_DoClick() {
    ScopeState& s = session_.State();
    s.View.BG_View = true;
    if (!session_.SwapWithBackground()) {
        SyncMenus();
        return;
    }
    {
        const std::int32_t valid = MainRecord().Info[fi::ValidPoints];
        const QSignalBlocker block(scrollX_);
        scrollX_->setRange(0, valid);
        scrollX_->setValue(std::clamp(backgroundStart_, 0, std::max(0, valid)));
    }
    bgLaneSwap_ = !bgLaneSwap_;
    ApplyAndRestart();
    spectrumRequest_ = true;
}

void MainWindow::Menu_BG_ClrClick() { ClearBackgroundBuffers(); }

// The dialogs apply every edit themselves and put back what Cancel undoes.
void MainWindow::Menu_TriggerClick() { dialogSet_->trigger->Run(); }

void MainWindow::Menu_GeneratorSetClick() { dialogSet_->generator->Run(); }

void MainWindow::Menu_FFTSetClick() { dialogSet_->fft->Run(); }

void MainWindow::Menu_ColorsClick() { dialogSet_->colours->Run(); }

void MainWindow::Menu_AboutClick() { dialogSet_->about->Run(); }

// The user guide in the current language, beside the executable or, for an
// installed program, in its documentation folder.
void MainWindow::Menu_Help_ContentsClick() {
    const bool ru = session_.State().Common.Russian;
    const QString page =
        QString::fromStdString(HelpPagePath(QCoreApplication::applicationFilePath().toStdString(), ru));
    if (!QFileInfo::exists(page) || !QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
        ShowMessage(Tr(ru, "Help", "Справка"), page.toStdString() + Tr(ru, "\r\nFile not found.", "\r\nФайл не найден."),
                    MessageIcon::Error);
    }
}

}  // namespace qx40
