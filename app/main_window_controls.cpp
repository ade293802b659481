// The control panel, the generator strip and the menus: each handler
// changes the state and applies; SyncControls makes every control show the
// state afterwards.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <QSignalBlocker>

#include "app/main_window.h"
#include "scope/value_tables.h"

namespace qx40 {
namespace {

QString Name(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

void SetDown(QToolButton* b, bool down) {
    const QSignalBlocker block(b);
    b->setChecked(down);
}

void SetChecked(QAction* a, bool checked) {
    const QSignalBlocker block(a);
    a->setChecked(checked);
}

}  // namespace

void MainWindow::ConnectControls() {
    const auto click = [this](const QString& name, std::function<void()> f) {
        connect(buttons_[name], &QToolButton::clicked, this, [f = std::move(f)] { f(); });
    };
    const auto triggered = [this](const QString& name, std::function<void()> f) {
        connect(actions_[name], &QAction::triggered, this, [f = std::move(f)] { f(); });
    };
    ScopeState& s = model_.state;

    click("SpeedButton_Run", [this] { RunButtonClick(RunButton::Run); });
    click("SpeedButton_Sngl", [this] { RunButtonClick(RunButton::Single); });
    for (std::size_t i = 0; i < kTimebaseCount; ++i)
        click("SpeedButton_" + Name(kTimebaseKeys[i]), [this, i] { TimebaseClick(static_cast<TimebaseIndex>(i)); });
    for (int channel = 1; channel <= 2; ++channel) {
        const QString suffix = channel == 1 ? "_A1" : "_A2";
        for (std::size_t v = 0; v < kVoltsDivCount; ++v)
            click("SpeedButton_" + Name(kVoltsDivKeySuffixes[v]) + suffix,
                  [this, channel, v] { VoltsDivClick(channel, static_cast<VoltsDiv>(v)); });
        click("SpeedButton_VoltsDiv" + suffix, [this, channel] { ProbeCycleClick(channel); });
        click("SpeedButton_ACDC" + suffix, [this, channel, &s] {
            bool& ac = channel == 1 ? s.Scope.A1_ACDC : s.Scope.A2_ACDC;
            ac = !ac;
            ApplyAndRestart();
        });
        for (std::size_t p = 0; p < 3; ++p)
            triggered("Menu_A" + QString::number(channel) + "_" + Name(kProbeKeySuffixes[p]),
                      [this, channel, p] { ProbeClick(channel, static_cast<Probe>(p)); });
    }
    click("SpeedButton_TrigA1", [this] { TriggerSourceClick(TriggerSource::CH_A1); });
    click("SpeedButton_TrigA2", [this] { TriggerSourceClick(TriggerSource::CH_A2); });
    click("SpeedButton_TrigD1", [this] { TriggerSourceClick(TriggerSource::CH_D1); });
    click("SpeedButton_TrigD2", [this] { TriggerSourceClick(TriggerSource::CH_D2); });
    const auto toggle = [this](bool& flag) {
        flag = !flag;
        ApplyAndRestart();
    };
    click("SpeedButton_TrigEdge", [toggle, &s] { toggle(s.Trigger.Edge); });
    click("SpeedButton_Auto", [toggle, &s] { toggle(s.Trigger.Auto); });
    click("SpeedButton_TPLUS", [toggle, &s] { toggle(s.Trigger.TPLUS); });
    click("SpeedButton_ret_trig", [this] { SpeedButton_ret_trigClick(); });
    click("SpeedButton_Trig", [this] { NotAvailableYet(); });

    // Generator strip.
    click("SpeedButton_GenOn", [this] { GenOnClick(); });
    click("SpeedButton_Mod", [this] { GeneratorModeClick(GenMode::Mod); });
    click("SpeedButton_Pulse", [this] { GeneratorModeClick(GenMode::Pulse); });
    click("SpeedButton_Sweep", [this] { GeneratorModeClick(GenMode::F_Sweep); });
    for (std::size_t r = 0; r < kGenRangeKeys.size(); ++r)
        click(kGenRangeButtons[r], [this, r, &s] {
            s.Generator.Range = static_cast<GenRange>(r);
            ApplyAndRestart();
        });
    for (std::size_t w = 0; w < kGenShapeKeys.size(); ++w)
        click("SpeedButton_" + Name(kGenShapeKeys[w]), [this, w, &s] {
            s.Generator.Shape = static_cast<GenShape>(w);
            ApplyAndRestart();
        });
    const auto bar = [this](const char* name, std::function<void(int)> f) {
        connect(static_cast<QScrollBar*>(widgets_[name]), &QScrollBar::valueChanged, this, std::move(f));
    };
    // In sweep and pulse mode the start never exceeds the stop.
    bar("ScrollBar_F_fast", [this, &s](int v) {
        s.Generator.F_fast = v;
        if (s.Generator.Mode == GenMode::F_Sweep || s.Generator.Mode == GenMode::Pulse)
            s.Generator.F_slow = std::max(s.Generator.F_slow, v);
        ApplyAndRestart();
    });
    bar("ScrollBar_F_slow", [this, &s](int v) {
        s.Generator.F_slow = v;
        if (s.Generator.Mode == GenMode::F_Sweep || s.Generator.Mode == GenMode::Pulse)
            s.Generator.F_fast = std::min(s.Generator.F_fast, v);
        ApplyAndRestart();
    });
    bar("ScrollBar_Amplitude", [this, &s](int v) {
        s.Generator.Ampl = v;
        ApplyAndRestart();
    });
    connect(scrollX_, &QScrollBar::valueChanged, this, [this] { ApplySettings(); });

    // Menus.
    connect(static_cast<QMenu*>(widgets_["Menu_File"]), &QMenu::aboutToShow, this, [this] { Menu_FileClick(); });
    connect(static_cast<QMenu*>(widgets_["Menu_View"]), &QMenu::aboutToShow, this, [this] { Menu_ViewClick(); });
    triggered("Menu_Open", [this] { Menu_OpenClick(); });
    triggered("Menu_Open_Settings", [this] { Menu_Open_SettingsClick(); });
    triggered("Menu_Save_As", [this] { Menu_Save_AsClick(); });
    triggered("Menu_Save_Settings_As", [this] { Menu_Save_Settings_AsClick(); });
    for (const char* name : {"Menu_Image", "Menu_Text", "Menu_EBin_A1", "Menu_EBin_A2", "Menu_EBin_D1", "Menu_EBin_D2",
                             "Menu_Recorder", "Menu_Trigger", "Menu_FFTSet", "Menu_GeneratorSet", "Menu_FM_Calibrate",
                             "Menu_ZeroCalibrate", "Menu_TDCCalibrate", "Menu_Colors", "Menu_About"})
        triggered(name, [this] { NotAvailableYet(); });
    triggered("Menu_Help_Contents", [this] { Menu_Help_ContentsClick(); });
    triggered("Menu_4001A", [this] { SelectDeviceModel(28); });
    triggered("Menu_4002", [this] { SelectDeviceModel(25); });
    triggered("Menu_4003", [this] { SelectDeviceModel(31); });
    triggered("Menu_Exit", [this] { Menu_ExitClick(); });

    const auto checkAndRestart = [this, triggered](const QString& name, std::function<void()> set) {
        triggered(name, [this, set = std::move(set)] {
            set();
            ApplyAndRestart();
        });
    };
    const auto checkAndView = [this, triggered](const QString& name, std::function<void()> set) {
        triggered(name, [this, set = std::move(set)] {
            set();
            ApplySettings();
        });
    };
    CommonSection& c = s.Common;
    checkAndRestart("Menu_SmplPeakDet", [&c] { c.SmplPeakDet = !c.SmplPeakDet; });
    const char* samples[4] = {"Menu_Smpl_2000", "Menu_Smpl_5000", "Menu_Smpl_10000", "Menu_Smpl_Max"};
    for (std::size_t i = 0; i < 4; ++i)
        checkAndRestart(samples[i], [&c, i] { c.SampleCount = static_cast<SampleCountChoice>(i); });
    const char* divisions[5] = {"Menu_10_Div", "Menu_20_Div", "Menu_50_Div", "Menu_100_Div", "Menu_200_Div"};
    for (std::size_t i = 0; i < 5; ++i)
        checkAndRestart(divisions[i], [&c, i] { c.SignalLength = static_cast<SignalLength>(i); });
    for (std::size_t i = 0; i < kFrameRateKeys.size(); ++i)
        checkAndRestart("Menu_" + Name(kFrameRateKeys[i]), [&c, i] { c.FrameRate = static_cast<FrameRate>(i); });
    for (std::size_t i = 0; i < kFreqMeterKeys.size(); ++i)
        checkAndRestart("Menu_" + Name(kFreqMeterKeys[i]), [&c, i] { c.FreqMeter = static_cast<FreqMeterSource>(i); });
    checkAndRestart("Menu_CH_A1", [&c] { c.CH_A1 = !c.CH_A1; });
    checkAndRestart("Menu_CH_A2", [&c] { c.CH_A2 = !c.CH_A2; });
    checkAndRestart("Menu_CH_D1", [&c] { c.CH_D1 = !c.CH_D1; });
    checkAndRestart("Menu_CH_D2", [&c] { c.CH_D2 = !c.CH_D2; });
    checkAndRestart("Menu_Lenta", [&c] { c.Lenta = !c.Lenta; });
    triggered("Menu_Markers_1", [this] { Menu_Markers_Click(1); });
    triggered("Menu_Markers_2", [this] { Menu_Markers_Click(2); });
    checkAndView("Menu_Measure", [&c] { c.Measure = !c.Measure; });
    checkAndView("Menu_Grid", [&c] { c.Grid = !c.Grid; });
    checkAndView("Menu_TrigPosL", [&c] { c.TrigPosL = !c.TrigPosL; });
    checkAndView("Menu_Extra_Info", [&c] { c.Extra_Info = !c.Extra_Info; });
    checkAndView("Menu_Trig_PT", [&c] { c.Trig_PT = !c.Trig_PT; });
    checkAndView("Menu_BG_View", [&s] { s.View.BG_View = !s.View.BG_View; });
    checkAndView("Menu_On_Top", [&c] { c.On_Top = !c.On_Top; });
    for (std::size_t i = 0; i < kDrawModeKeys.size(); ++i)
        checkAndView("Menu_" + Name(kDrawModeKeys[i]), [&c, i] { c.DrawMode = static_cast<DrawMode>(i); });
    triggered("Menu_Gen_View", [this] { Menu_Gen_ViewClick(); });
    triggered("Menu_Compact", [this] { Menu_CompactClick(); });
    triggered("Menu_FFT_A1", [this] { Menu_FFT_Click(1); });
    triggered("Menu_FFT_A2", [this] { Menu_FFT_Click(2); });
    triggered("Menu_BG_Do", [this] { Menu_BG_DoClick(); });
    triggered("Menu_BG_Clr", [this] { Menu_BG_ClrClick(); });
    triggered("Menu_Russian", [this] { Menu_LanguageClick(true); });
    triggered("Menu_English", [this] { Menu_LanguageClick(false); });
}

void MainWindow::SyncControls() {
    if (buttons_.isEmpty()) return;
    const ScopeState& s = model_.state;
    const PanelView& p = model_.panel;
    SetDown(buttons_["SpeedButton_Run"], s.View.Run == RunButton::Run);
    SetDown(buttons_["SpeedButton_Sngl"], s.View.Run == RunButton::Single);
    for (std::size_t i = 0; i < kTimebaseCount; ++i)
        SetDown(buttons_["SpeedButton_" + Name(kTimebaseKeys[i])], s.Scope.TimebaseIndex == static_cast<TimebaseIndex>(i));
    for (int channel = 1; channel <= 2; ++channel) {
        const QString suffix = channel == 1 ? "_A1" : "_A2";
        const VoltsDiv current = channel == 1 ? s.Scope.A1 : s.Scope.A2;
        const auto& captions = channel == 1 ? p.VoltsCaptionsA1 : p.VoltsCaptionsA2;
        for (std::size_t v = 0; v < kVoltsDivCount; ++v) {
            QToolButton* b = buttons_["SpeedButton_" + Name(kVoltsDivKeySuffixes[v]) + suffix];
            SetDown(b, current == static_cast<VoltsDiv>(v));
            if (!captions[v].empty()) b->setText(Name(captions[v]));
        }
        const std::string& caption = channel == 1 ? p.VoltsDivCaptionA1 : p.VoltsDivCaptionA2;
        if (!caption.empty()) buttons_["SpeedButton_VoltsDiv" + suffix]->setText(QString::fromStdString(caption));
        SetDown(buttons_["SpeedButton_ACDC" + suffix], channel == 1 ? s.Scope.A1_ACDC : s.Scope.A2_ACDC);
    }
    SetDown(buttons_["SpeedButton_TrigA1"], s.Trigger.Source == TriggerSource::CH_A1);
    SetDown(buttons_["SpeedButton_TrigA2"], s.Trigger.Source == TriggerSource::CH_A2);
    SetDown(buttons_["SpeedButton_TrigD1"], s.Trigger.Source == TriggerSource::CH_D1);
    SetDown(buttons_["SpeedButton_TrigD2"], s.Trigger.Source == TriggerSource::CH_D2);
    SetDown(buttons_["SpeedButton_TrigEdge"], s.Trigger.Edge);
    SetDown(buttons_["SpeedButton_Auto"], s.Trigger.Auto);
    SetDown(buttons_["SpeedButton_TPLUS"], s.Trigger.TPLUS);

    // Generator strip, as its consistency rules left it.
    const GeneratorSection& g = s.Generator;
    const GeneratorPanelView& gv = p.Generator;
    SetDown(buttons_["SpeedButton_GenOn"], g.GenOn);
    SetDown(buttons_["SpeedButton_Mod"], g.Mode == GenMode::Mod);
    SetDown(buttons_["SpeedButton_Pulse"], g.Mode == GenMode::Pulse);
    SetDown(buttons_["SpeedButton_Sweep"], g.Mode == GenMode::F_Sweep);
    buttons_["SpeedButton_Sweep"]->setEnabled(p.SweepEnabled);
    for (std::size_t r = 0; r < kGenRangeKeys.size(); ++r) {
        QToolButton* b = buttons_[kGenRangeButtons[r]];
        SetDown(b, g.Range == static_cast<GenRange>(r));
        if (!gv.RangeCaptions[r].empty()) b->setText(QString::fromUtf8(gv.RangeCaptions[r].data(), static_cast<qsizetype>(gv.RangeCaptions[r].size())));
    }
    buttons_["SpeedButton_50M_100uS"]->setVisible(gv.Range50MVisible);
    buttons_["SpeedButton__10uS_Noise"]->setVisible(gv.NoiseVisible);
    for (std::size_t w = 0; w < kGenShapeKeys.size(); ++w) {
        QToolButton* b = buttons_["SpeedButton_" + Name(kGenShapeKeys[w])];
        SetDown(b, g.Shape == static_cast<GenShape>(w));
        b->setVisible(gv.ShapesVisible);
        b->setEnabled(gv.ShapeEnabled[w]);
    }
    for (auto [name, value] : {std::pair{"ScrollBar_F_fast", g.F_fast}, {"ScrollBar_F_slow", g.F_slow}, {"ScrollBar_Amplitude", g.Ampl}}) {
        auto* bar = static_cast<QScrollBar*>(widgets_[name]);
        const QSignalBlocker block(bar);
        bar->setValue(value);
    }
    widgets_["ScrollBar_F_fast"]->setEnabled(gv.FrequencyBarsEnabled);
    widgets_["ScrollBar_F_slow"]->setEnabled(gv.FrequencyBarsEnabled);
    SyncMenus();
}

void MainWindow::SyncMenus() {
    const ScopeState& s = model_.state;
    const CommonSection& c = s.Common;
    const char* samples[4] = {"Menu_Smpl_2000", "Menu_Smpl_5000", "Menu_Smpl_10000", "Menu_Smpl_Max"};
    for (std::size_t i = 0; i < 4; ++i) SetChecked(actions_[samples[i]], c.SampleCount == static_cast<SampleCountChoice>(i));
    const char* divisions[5] = {"Menu_10_Div", "Menu_20_Div", "Menu_50_Div", "Menu_100_Div", "Menu_200_Div"};
    for (std::size_t i = 0; i < 5; ++i) SetChecked(actions_[divisions[i]], c.SignalLength == static_cast<SignalLength>(i));
    for (std::size_t i = 0; i < kFrameRateKeys.size(); ++i)
        SetChecked(actions_["Menu_" + Name(kFrameRateKeys[i])], c.FrameRate == static_cast<FrameRate>(i));
    for (std::size_t i = 0; i < kFreqMeterKeys.size(); ++i)
        SetChecked(actions_["Menu_" + Name(kFreqMeterKeys[i])], c.FreqMeter == static_cast<FreqMeterSource>(i));
    for (std::size_t i = 0; i < kDrawModeKeys.size(); ++i)
        SetChecked(actions_["Menu_" + Name(kDrawModeKeys[i])], c.DrawMode == static_cast<DrawMode>(i));
    for (std::size_t p = 0; p < 3; ++p) {
        SetChecked(actions_["Menu_A1_" + Name(kProbeKeySuffixes[p])], c.ProbeA1 == static_cast<Probe>(p));
        SetChecked(actions_["Menu_A2_" + Name(kProbeKeySuffixes[p])], c.ProbeA2 == static_cast<Probe>(p));
    }
    for (auto [name, value] :
         {std::pair{"Menu_SmplPeakDet", c.SmplPeakDet}, {"Menu_CH_A1", c.CH_A1}, {"Menu_CH_A2", c.CH_A2},
          {"Menu_CH_D1", c.CH_D1}, {"Menu_CH_D2", c.CH_D2}, {"Menu_Markers_1", c.Markers_1},
          {"Menu_Markers_2", c.Markers_2}, {"Menu_Measure", c.Measure}, {"Menu_Grid", c.Grid},
          {"Menu_TrigPosL", c.TrigPosL}, {"Menu_Extra_Info", c.Extra_Info}, {"Menu_Trig_PT", c.Trig_PT},
          {"Menu_Gen_View", c.Generator}, {"Menu_On_Top", c.On_Top}, {"Menu_Lenta", c.Lenta},
          {"Menu_BG_View", s.View.BG_View}, {"Menu_Compact", s.View.Compact}, {"Menu_FFT_A1", s.FFT.View_A1},
          {"Menu_FFT_A2", s.FFT.View_A2}, {"Menu_Russian", c.Russian}, {"Menu_English", !c.Russian},
          {"Menu_4001A", s.System.Device_Type_Code == 28}, {"Menu_4002", s.System.Device_Type_Code == 25},
          {"Menu_4003", s.System.Device_Type_Code == 31}})
        SetChecked(actions_[name], value);
    actions_["Menu_Lenta"]->setEnabled(model_.panel.LentaEnabled);
}

// --- Handlers ------------------------------------------------------------

void MainWindow::TimebaseClick(TimebaseIndex t) {
    model_.state.Scope.TimebaseIndex = t;  // pressed again it stays down and still restarts
    ApplyAndRestart();
}

void MainWindow::VoltsDivClick(int channel, VoltsDiv v) {
    (channel == 1 ? model_.state.Scope.A1 : model_.state.Scope.A2) = v;
    (channel == 1 ? model_.state.VoltsDivChangedA1 : model_.state.VoltsDivChangedA2) = true;
    ApplyAndRestart();
}

void MainWindow::ProbeClick(int channel, Probe p) {
    (channel == 1 ? model_.state.Common.ProbeA1 : model_.state.Common.ProbeA2) = p;
    (channel == 1 ? model_.state.VoltsDivChangedA1 : model_.state.VoltsDivChangedA2) = true;
    ApplyAndRestart();
}

void MainWindow::ProbeCycleClick(int channel) {
    const Probe current = channel == 1 ? model_.state.Common.ProbeA1 : model_.state.Common.ProbeA2;
    ProbeClick(channel, current == Probe::x1 ? Probe::x10 : Probe::x1);
}

void MainWindow::TriggerSourceClick(TriggerSource source) {
    TriggerSource& current = model_.state.Trigger.Source;
    current = current == source ? TriggerSource::None : source;  // all may be up
    ApplyAndRestart();
}

void MainWindow::GeneratorModeClick(GenMode mode) {
    GeneratorSection& g = model_.state.Generator;
    g.Mode = g.Mode == mode ? GenMode::Plain : mode;
    if ((g.Mode == GenMode::F_Sweep || g.Mode == GenMode::Pulse) && g.F_fast > g.F_slow) g.F_slow = g.F_fast;
    ApplyAndRestart();
}

void MainWindow::RunButtonClick(RunButton button) {
    RunButton& run = model_.state.View.Run;
    run = run == button ? RunButton::None : button;
    session_->ButtonClicked(button == RunButton::Run ? DeviceButton::Run : DeviceButton::Single, run == button);
}

void MainWindow::GenOnClick() {
    bool& on = model_.state.Generator.GenOn;
    on = !on;
    session_->ButtonClicked(DeviceButton::GenOn, on);
}

void MainWindow::SpeedButton_ret_trigClick() {
    scrollX_->setValue(main_.Info[fi::PreTrigger]);
    ApplySettings();
}

void MainWindow::Menu_FileClick() {
    const bool enabled = !shared_.flags.RunFlag || model_.state.System.Debug_qx;
    for (const char* name : {"Menu_Save_As", "Menu_Open"}) actions_[name]->setEnabled(enabled);
    widgets_["Menu_Export"]->setEnabled(enabled);
    static_cast<QMenu*>(widgets_["Menu_Export"])->menuAction()->setEnabled(enabled);
    static_cast<QMenu*>(widgets_["Menu_Device"])->menuAction()->setEnabled(enabled);
}

void MainWindow::Menu_ViewClick() {
    actions_["Menu_BG_View"]->setEnabled(background_.HasData());
    actions_["Menu_BG_Clr"]->setEnabled(background_.HasData());
    actions_["Menu_BG_Do"]->setEnabled(!shared_.flags.RunFlag && (main_.HasData() || background_.HasData()));
}

void MainWindow::Menu_Markers_Click(int which) {
    CommonSection& c = model_.state.Common;
    bool& mine = which == 1 ? c.Markers_1 : c.Markers_2;
    mine = !mine;
    if (mine) (which == 1 ? c.Markers_2 : c.Markers_1) = false;
    ApplySettings();
}

void MainWindow::Menu_FFT_Click(int channel) {
    FftSection& f = model_.state.FFT;
    bool& mine = channel == 1 ? f.View_A1 : f.View_A2;
    mine = !mine;
    if (mine) (channel == 1 ? f.View_A2 : f.View_A1) = false;
    ApplyAndRestart();
    spectrumRequest_ = true;
}

void MainWindow::Menu_CompactClick() {
    model_.state.View.Compact = !model_.state.View.Compact;
    ArrangePanels(model_.state.View.Compact, model_.state.Common.Generator);
    RecalcScreenGeometry();
    ApplySettings();
}

void MainWindow::Menu_Gen_ViewClick() {
    model_.state.Common.Generator = !model_.state.Common.Generator;
    ArrangePanels(model_.state.View.Compact, model_.state.Common.Generator);
    RecalcScreenGeometry();
    ApplySettings();
}

void MainWindow::Menu_LanguageClick(bool russian) {
    model_.state.Common.Russian = russian;
    ApplyCaptionsNow();
    ApplySettings();
}

void MainWindow::Menu_BG_DoClick() {
    ScopeState& s = model_.state;
    s.View.BG_View = true;
    mainFile_.fromFile = shared_.flags.ShowingFile;
    if (!SwapWithBackground(s, main_, mainFile_, background_, backgroundLevels_, backgroundFile_)) {
        SyncMenus();
        return;
    }
    shared_.flags.ShowingFile = mainFile_.fromFile;
    {
        const QSignalBlocker block(scrollX_);
        scrollX_->setRange(0, main_.Info[fi::ValidPoints]);
        scrollX_->setValue(std::clamp(backgroundStart_, 0, std::max(0, main_.Info[fi::ValidPoints])));
    }
    bgLaneSwap_ = !bgLaneSwap_;
    ApplyAndRestart();
    spectrumRequest_ = true;
}

void MainWindow::Menu_BG_ClrClick() { ClearBackgroundBuffers(); }

// The help page is the executable's name with ".html", beside it.
void MainWindow::Menu_Help_ContentsClick() {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString page = exe.absolutePath() + "/" + exe.completeBaseName() + ".html";
    if (!QFileInfo::exists(page) || !QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
        const bool ru = model_.state.Common.Russian;
        ShowMessage(Tr(ru, "Help", "Справка"), page.toStdString() + Tr(ru, "\r\nFile not found.", "\r\nФайл не найден."),
                    MessageIcon::Error);
    }
}

void MainWindow::NotAvailableYet() {
    const bool ru = model_.state.Common.Russian;
    ShowMessage(Tr(ru, "Not available yet", "Пока недоступно"),
                Tr(ru, "This command is not available yet.", "Эта команда пока недоступна."), MessageIcon::Information);
}

}  // namespace qx40
