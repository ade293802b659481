// The display step: run through the acquisition thread's hand-over for
// every frame and every apply, it asks about a frame of another model,
// keeps the caption and the scroll range, has the screen drawn into the
// off-screen bitmap, shows it with one copy and colours the panels.
#include <QApplication>
#include <QPalette>
#include <filesystem>

#include "app/main_window.h"
#include "app/screen_view.h"
#include "base/program_version.h"
#include "display/decimal_separator.h"
#include "scope/value_tables.h"
#include "base/blend_color.h"
#include "device/usb/instrument_access.h"
#include "display/canvas.h"
#include "generator/generator_readouts.h"

namespace qx40 {
namespace {

QColor ToQColor(std::uint32_t bgr) { return QColor::fromRgb(Canvas::ToRgb(bgr)); }

void Paint(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = w->palette();
    if (p.color(role) == colour) return;
    p.setColor(role, colour);
    w->setPalette(p);
}

}  // namespace

void MainWindow::RefreshScreen() {
    ScopeState& s = session_.State();
    const SampleRecord& main = MainRecord();
    const SampleRecord& background = BackgroundRecord();
    const LinkFlags& flags = Shared().flags;

    // 1.-2. A frame or file of another model: asked once the hand-over has
    // ended, never inside it.
    if (main.HasData() && main.Info[fi::DeviceTypeCode] != s.System.Device_Type_Code &&
        (modelQuestionArmed_ || modelChangeForced_) && !modelCheckQueued_) {
        modelCheckQueued_ = true;
        session_.Defer([this] { CheckFrameModel(); });
    }

    // 3. Caption.
    std::string caption = ModelName(s.System.Device_Type_Code) + " ";
    if (s.System.Debug_qx) {
        caption += "  ver=" + ProgramVersionText();
        if (flags.DeviceInfoValid) caption += "  dev=" + ModelName(Shared().facts.Get().DeviceTypeReported) + " ";
    }
    const RecordFile& mainFile = session_.MainFile();
    const RecordFile& backgroundFile = session_.BackgroundFile();
    if (flags.ShowingFile)
        caption += " - " + mainFile.name;
    else if (backgroundFile.fromFile || background.HasData())
        caption += main.HasData() ? " -  " + std::to_string(main.Info[fi::FrameCounter]) : " - ...";
    if (backgroundFile.fromFile)
        caption += "  //  " + backgroundFile.name;
    else if (background.HasData())
        caption += "  //   " + std::to_string(background.Info[fi::FrameCounter]);
    if (session_.Link().Kind() == LinkKind::Simulated) caption += " [simulated]";
    caption += InstrumentAccessSuffix(session_.Link().Access(), s.Common.Russian);
    setWindowTitle(QString::fromStdString(caption));

    // 4. Scroll range: a position beyond the valid points starts over.
    std::int32_t scroll = scrollX_->value();
    if (scroll > main.Info[fi::ValidPoints]) scroll = 0;
    {
        const QSignalBlocker block(scrollX_);
        scrollX_->setRange(0, main.Info[fi::ValidPoints]);
        scrollX_->setValue(scroll);
    }

    // 5.-20. The screen.
    ScreenInput in{s, Model().derived, main, background};
    in.BackgroundLevels = BackgroundLevels();
    in.Geometry = geometry_;
    in.ScrollIndex = scroll;
    in.BgLaneSwap = bgLaneSwap_;
    in.Dragging = Dragging();
    LinkFlags& f = Shared().flags;
    in.LinkPerSecond = session_.Stats().PerSecond();
    in.VccCentivolts = Shared().facts.Get().VccCentivolts;
    in.Activity = {f.IndicatorFrame.exchange(false), f.IndicatorStatus.exchange(false), bool(f.RunFlag)};
    in.SpectrumNewData = f.NewFrameData || spectrumRequest_;
    in.SettingsChanged = f.SettingsChanged;
    in.DecimalSeparator = LocaleDecimalSeparator();
    const ScreenOutput out = renderer_.Render(in, bitmap_);
    if (out.SpectrumComputed) {
        f.NewFrameData = false;
        spectrumRequest_ = false;
        f.SettingsChanged = false;
    }
    backgroundStart_ = out.BackgroundStart;
    menus_.fftA1->setEnabled(out.Menus.EnabledA1);
    menus_.fftA2->setEnabled(out.Menus.EnabledA2);
    if (s.FFT.View_A1 != out.Menus.ViewA1 || s.FFT.View_A2 != out.Menus.ViewA2) {
        s.FFT.View_A1 = out.Menus.ViewA1;
        s.FFT.View_A2 = out.Menus.ViewA2;
        SyncMenus();  // the menu shows no spectrum whose channel is off
    }

    // 21. One copy to the window.
    imageM_->update();
    RefreshPanels();
}

void MainWindow::CheckFrameModel() {
    modelCheckQueued_ = false;
    // A settings dialog open over the window was laid out for this model; the
    // next frame after it closes asks.
    if (QApplication::activeModalWidget() != nullptr) return;
    const ScopeState& s = session_.State();
    const bool ru = s.Common.Russian;
    const std::int32_t reported = MainRecord().Info[fi::DeviceTypeCode];
    if (!MainRecord().HasData() || reported == s.System.Device_Type_Code) return;
    if (modelQuestionArmed_) {
        const std::string text = Tr(ru, "Change interface for ", "Перестроить интерфейс для ") + ModelName(reported) + "? ";
        if (dialogs_.Show({Tr(ru, "Warning", "Предупреждение"), text, MessageIcon::Warning, MessageButtons::YesNo}) ==
            MessageAnswer::Yes)
            ChangeToReportedModel(reported);
        else
            modelQuestionArmed_ = false;
    } else if (modelChangeForced_) {
        ShowMessage(Tr(ru, "Warning", "Предупреждение"),
                    Tr(ru, "Interface will be changed for ", "Интерфейс будет перестроен для ") + ModelName(reported) + ". ",
                    MessageIcon::Warning);
        ChangeToReportedModel(reported);
        modelChangeForced_ = false;
    }
}

void MainWindow::ChangeToReportedModel(std::int32_t reported) {
    ScopeState& s = session_.State();
    s.System.Device_Type_Code = reported;
    ApplyDeviceModel();
    ArrangePanels(s.View.Compact, s.Common.Generator);
    RecalcScreenGeometry();
    ApplyCaptionsNow();
    ApplySettings();  // the screen again, in the new layout
}

void MainWindow::DrawIndicator() {
    LinkFlags& f = Shared().flags;
    renderer_.DrawActivityOnly(bitmap_, geometry_, session_.State().Colors,
                               {f.IndicatorFrame.exchange(false), f.IndicatorStatus.exchange(false), bool(f.RunFlag)});
    imageM_->update();
}

void MainWindow::RefreshPanels() {
    const ScopeState& s = session_.State();
    const ColourSlots& c = s.Colors;
    const QColor face = palette().color(QPalette::Button);
    const QColor border = ToQColor(c[ColourSlot::Border]);
    Paint(panel_.panelGen, QPalette::Window, border);
    const QColor text = s.Generator.GenOn
                            ? ToQColor(c[ColourSlot::Grid_Frame])
                            : ToQColor(BlendColor(c[ColourSlot::Grid_Frame], c[ColourSlot::Border], 3.0));
    for (QLabel* label : {panel_.labelF, panel_.labelV, panel_.labelMod, panel_.labelPulse}) {
        Paint(label, QPalette::Window, border);
        Paint(label, QPalette::WindowText, text);
    }
    const GeneratorReadouts labels = ComputeGeneratorReadouts(
        s.Generator, s.System.Device_Type_Code, LocaleDecimalSeparator());
    panel_.labelF->setText(QString::fromStdString(labels.F));
    panel_.labelV->setText(QString::fromStdString(labels.V));
    panel_.labelPulse->setText(QString::fromStdString(labels.Pulse));
    panel_.labelMod->setText(QString::fromStdString(labels.Mod));
    panel_.labelPulse->setVisible(labels.PulseVisible);
    panel_.labelMod->setVisible(labels.ModVisible);
    Paint(panel_.colourTimeDiv, QPalette::Window, ToQColor(c[ColourSlot::Grid_Frame]));
    Paint(panel_.channel[0].colour, QPalette::Window, s.Common.CH_A1 ? ToQColor(c[ColourSlot::CH_A1]) : face);
    Paint(panel_.channel[1].colour, QPalette::Window, s.Common.CH_A2 ? ToQColor(c[ColourSlot::CH_A2]) : face);
    QColor trig = face;
    switch (s.Trigger.Source) {
        case TriggerSource::CH_A1: trig = ToQColor(c[ColourSlot::CH_A1]); break;
        case TriggerSource::CH_A2: trig = ToQColor(c[ColourSlot::CH_A2]); break;
        case TriggerSource::CH_D1: trig = ToQColor(c[ColourSlot::CH_D1]); break;
        case TriggerSource::CH_D2: trig = ToQColor(c[ColourSlot::CH_D2]); break;
        case TriggerSource::None: break;
    }
    Paint(panel_.colourTrig, QPalette::Window, trig);
}

}  // namespace qx40
