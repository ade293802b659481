// The control panel and the generator strip: each handler changes the state
// and applies; SyncControls makes every control show the state afterwards.
#include <QGroupBox>
#include <QSignalBlocker>

#include "app/double_click_filter.h"
#include "app/main_window.h"
#include "scope/value_tables.h"

namespace qx40 {
namespace {

QString Name(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void SetDown(QToolButton* b, bool down) {
    const QSignalBlocker block(b);
    b->setChecked(down);
}

}  // namespace

void MainWindow::ConnectControls() {
    const auto click = [this](QToolButton* b, std::function<void()> f) {
        connect(b, &QToolButton::clicked, this, [f = std::move(f)] { f(); });
    };
    ScopeState& s = session_.State();

    click(panel_.run, [this] { RunButtonClick(RunButton::Run); });
    click(panel_.single, [this] { RunButtonClick(RunButton::Single); });
    for (std::size_t i = 0; i < kTimebaseCount; ++i)
        click(panel_.timebase[i], [this, i] { TimebaseClick(static_cast<TimebaseIndex>(i)); });
    for (int channel = 1; channel <= 2; ++channel) {
        ChannelControls& c = panel_.channel[static_cast<std::size_t>(channel - 1)];
        for (std::size_t v = 0; v < kVoltsDivCount; ++v)
            click(c.volts[v], [this, channel, v] { VoltsDivClick(channel, static_cast<VoltsDiv>(v)); });
        click(c.voltsDiv, [this, channel] { ProbeCycleClick(channel); });
        click(c.acdc, [this, channel, &s] {
            bool& ac = channel == 1 ? s.Scope.A1_ACDC : s.Scope.A2_ACDC;
            ac = !ac;
            ApplyAndRestart();
        });
        for (std::size_t p = 0; p < 3; ++p)
            connect(c.probes[p], &QAction::triggered, this,
                    [this, channel, p] { ProbeClick(channel, static_cast<Probe>(p)); });
    }
    click(panel_.trigA1, [this] { TriggerSourceClick(TriggerSource::CH_A1); });
    click(panel_.trigA2, [this] { TriggerSourceClick(TriggerSource::CH_A2); });
    click(panel_.trigD1, [this] { TriggerSourceClick(TriggerSource::CH_D1); });
    click(panel_.trigD2, [this] { TriggerSourceClick(TriggerSource::CH_D2); });
    const auto toggle = [this](bool& flag) {
        flag = !flag;
        ApplyAndRestart();
    };
    click(panel_.trigEdge, [toggle, &s] { toggle(s.Trigger.Edge); });
    click(panel_.autoTrig, [toggle, &s] { toggle(s.Trigger.Auto); });
    click(panel_.tplus, [toggle, &s] { toggle(s.Trigger.TPLUS); });
    click(panel_.retTrig, [this] { SpeedButton_ret_trigClick(); });
    click(panel_.trig, [this] { Menu_TriggerClick(); });

    // Generator strip.
    click(panel_.genOn, [this] { GenOnClick(); });
    click(panel_.mod, [this] { GeneratorModeClick(GenMode::Mod); });
    click(panel_.pulse, [this] { GeneratorModeClick(GenMode::Pulse); });
    click(panel_.sweep, [this] { GeneratorModeClick(GenMode::F_Sweep); });
    new DoubleClickFilter(panel_.labelMod, [this] { Menu_GeneratorSetClick(); });
    for (std::size_t r = 0; r < kGenRangeKeys.size(); ++r)
        click(panel_.ranges[r], [this, r, &s] {
            s.Generator.Range = static_cast<GenRange>(r);
            ApplyAndRestart();
        });
    for (std::size_t w = 0; w < kGenShapeKeys.size(); ++w)
        click(panel_.shapes[w], [this, w, &s] {
            s.Generator.Shape = static_cast<GenShape>(w);
            ApplyAndRestart();
        });
    // In sweep and pulse mode the start never exceeds the stop.
    connect(panel_.fFast, &QScrollBar::valueChanged, this, [this, &s](int v) {
        s.Generator.F_fast = v;
        if (s.Generator.Mode == GenMode::F_Sweep || s.Generator.Mode == GenMode::Pulse)
            s.Generator.F_slow = std::max(s.Generator.F_slow, v);
        ApplyAndRestart();
    });
    connect(panel_.fSlow, &QScrollBar::valueChanged, this, [this, &s](int v) {
        s.Generator.F_slow = v;
        if (s.Generator.Mode == GenMode::F_Sweep || s.Generator.Mode == GenMode::Pulse)
            s.Generator.F_fast = std::min(s.Generator.F_fast, v);
        ApplyAndRestart();
    });
    connect(panel_.amplitude, &QScrollBar::valueChanged, this, [this, &s](int v) {
        s.Generator.Ampl = v;
        ApplyAndRestart();
    });
    connect(scrollX_, &QScrollBar::valueChanged, this, [this] { ApplySettings(); });
}

void MainWindow::SyncControls() {
    if (!panel_.run) return;  // still building
    const ScopeState& s = session_.State();
    const PanelView& p = Model().panel;
    SetDown(panel_.run, s.View.Run == RunButton::Run);
    SetDown(panel_.single, s.View.Run == RunButton::Single);
    for (std::size_t i = 0; i < kTimebaseCount; ++i)
        SetDown(panel_.timebase[i], s.Scope.TimebaseIndex == static_cast<TimebaseIndex>(i));
    for (int channel = 1; channel <= 2; ++channel) {
        ChannelControls& c = panel_.channel[static_cast<std::size_t>(channel - 1)];
        const VoltsDiv current = channel == 1 ? s.Scope.A1 : s.Scope.A2;
        const auto& captions = channel == 1 ? p.VoltsCaptionsA1 : p.VoltsCaptionsA2;
        for (std::size_t v = 0; v < kVoltsDivCount; ++v) {
            SetDown(c.volts[v], current == static_cast<VoltsDiv>(v));
            if (!captions[v].empty()) c.volts[v]->setText(Name(captions[v]));
        }
        const std::string& caption = channel == 1 ? p.VoltsDivCaptionA1 : p.VoltsDivCaptionA2;
        if (!caption.empty()) c.voltsDiv->setText(QString::fromStdString(caption));
        SetDown(c.acdc, channel == 1 ? s.Scope.A1_ACDC : s.Scope.A2_ACDC);
    }
    SetDown(panel_.trigA1, s.Trigger.Source == TriggerSource::CH_A1);
    SetDown(panel_.trigA2, s.Trigger.Source == TriggerSource::CH_A2);
    SetDown(panel_.trigD1, s.Trigger.Source == TriggerSource::CH_D1);
    SetDown(panel_.trigD2, s.Trigger.Source == TriggerSource::CH_D2);
    SetDown(panel_.trigEdge, s.Trigger.Edge);
    // Up the rising edge, down the falling one.
    panel_.trigEdge->setText(s.Trigger.Edge ? QStringLiteral("\\_") : QStringLiteral("_/"));
    SetDown(panel_.autoTrig, s.Trigger.Auto);
    SetDown(panel_.tplus, s.Trigger.TPLUS);

    // Generator strip, as its consistency rules left it.
    const GeneratorSection& g = s.Generator;
    const GeneratorPanelView& gv = p.Generator;
    SetDown(panel_.genOn, g.GenOn);
    SetDown(panel_.mod, g.Mode == GenMode::Mod);
    SetDown(panel_.pulse, g.Mode == GenMode::Pulse);
    SetDown(panel_.sweep, g.Mode == GenMode::F_Sweep);
    panel_.sweep->setEnabled(p.SweepEnabled);
    for (std::size_t r = 0; r < kGenRangeKeys.size(); ++r) {
        SetDown(panel_.ranges[r], g.Range == static_cast<GenRange>(r));
        if (!gv.RangeCaptions[r].empty()) panel_.ranges[r]->setText(Name(gv.RangeCaptions[r]));
    }
    panel_.ranges[IndexOf(GenRange::R50M_100uS)]->setVisible(gv.Range50MVisible);
    panel_.ranges[IndexOf(GenRange::R10uS_Noise)]->setVisible(gv.NoiseVisible);
    for (std::size_t w = 0; w < kGenShapeKeys.size(); ++w) {
        SetDown(panel_.shapes[w], g.Shape == static_cast<GenShape>(w));
        panel_.shapes[w]->setVisible(gv.ShapesVisible);
        panel_.shapes[w]->setEnabled(gv.ShapeEnabled[w]);
    }
    for (auto [bar, value] : {std::pair{panel_.fFast, g.F_fast}, {panel_.fSlow, g.F_slow}, {panel_.amplitude, g.Ampl}}) {
        const QSignalBlocker block(bar);
        bar->setValue(value);
    }
    panel_.fFast->setEnabled(gv.FrequencyBarsEnabled);
    panel_.fSlow->setEnabled(gv.FrequencyBarsEnabled);
    SyncMenus();
}

// --- Handlers ------------------------------------------------------------

void MainWindow::TimebaseClick(TimebaseIndex t) {
    session_.State().Scope.TimebaseIndex = t;  // pressed again it stays down and still restarts
    ApplyAndRestart();
}

void MainWindow::VoltsDivClick(int channel, VoltsDiv v) {
    ScopeState& s = session_.State();
    (channel == 1 ? s.Scope.A1 : s.Scope.A2) = v;
    (channel == 1 ? s.VoltsDivChangedA1 : s.VoltsDivChangedA2) = true;
    ApplyAndRestart();
}

void MainWindow::ProbeClick(int channel, Probe p) {
    ScopeState& s = session_.State();
    (channel == 1 ? s.Common.ProbeA1 : s.Common.ProbeA2) = p;
    (channel == 1 ? s.VoltsDivChangedA1 : s.VoltsDivChangedA2) = true;
    ApplyAndRestart();
}

void MainWindow::ProbeCycleClick(int channel) {
    const ScopeState& s = session_.State();
    const Probe current = channel == 1 ? s.Common.ProbeA1 : s.Common.ProbeA2;
    ProbeClick(channel, current == Probe::x1 ? Probe::x10 : Probe::x1);
}

void MainWindow::TriggerSourceClick(TriggerSource source) {
    TriggerSource& current = session_.State().Trigger.Source;
    current = current == source ? TriggerSource::None : source;  // all may be up
    ApplyAndRestart();
}

void MainWindow::GeneratorModeClick(GenMode mode) {
    GeneratorSection& g = session_.State().Generator;
    g.Mode = g.Mode == mode ? GenMode::Plain : mode;
    if ((g.Mode == GenMode::F_Sweep || g.Mode == GenMode::Pulse) && g.F_fast > g.F_slow) g.F_slow = g.F_fast;
    ApplyAndRestart();
}

void MainWindow::RunButtonClick(RunButton button) { session_.PressRun(button); }

void MainWindow::GenOnClick() { session_.PressGeneratorOn(); }

void MainWindow::SpeedButton_ret_trigClick() {
    scrollX_->setValue(MainRecord().Info[fi::PreTrigger]);
    ApplySettings();
}

}  // namespace qx40
