// The display step: run through the acquisition thread's hand-over for
// every frame and every apply, it asks about a frame of another model,
// keeps the caption and the scroll range, has the screen drawn into the
// off-screen bitmap, shows it with one copy and colours the panels.
#include <QLocale>
#include <QPalette>
#include <filesystem>

#include "app/main_window.h"
#include "app/screen_view.h"
#include "base/program_version.h"
#include "scope/value_tables.h"
#include "base/blend_color.h"
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
    ScopeState& s = model_.state;
    const bool ru = s.Common.Russian;
    const std::int32_t reported = main_.Info[fi::DeviceTypeCode];

    // 1.-2. A frame or file of another model.
    if (main_.HasData() && reported != s.System.Device_Type_Code && modelQuestionArmed_) {
        const std::string text = Tr(ru, "Change interface for ", "Перестроить интерфейс для ") + ModelName(reported) + "? ";
        if (dialogs_.Show({Tr(ru, "Warning", "Предупреждение"), text, MessageIcon::Warning, MessageButtons::YesNo}) ==
            MessageAnswer::Yes) {
            s.System.Device_Type_Code = reported;
            ApplyDeviceModel();
            ArrangePanels(s.View.Compact, s.Common.Generator);
            RecalcScreenGeometry();
            ApplyCaptionsNow();
        } else {
            modelQuestionArmed_ = false;
        }
    }
    if (main_.HasData() && reported != s.System.Device_Type_Code && modelChangeForced_) {
        ShowMessage(Tr(ru, "Warning", "Предупреждение"),
                    Tr(ru, "Interface will be changed for ", "Интерфейс будет перестроен для ") + ModelName(reported) + ". ",
                    MessageIcon::Warning);
        s.System.Device_Type_Code = reported;
        ApplyDeviceModel();
        ArrangePanels(s.View.Compact, s.Common.Generator);
        RecalcScreenGeometry();
        ApplyCaptionsNow();
        modelChangeForced_ = false;
    }

    // 3. Caption.
    std::string caption = ModelName(s.System.Device_Type_Code) + " ";
    if (s.System.Debug_qx) {
        caption += "  ver=" + ProgramVersionText();
        if (shared_.flags.DeviceInfoValid) caption += "  dev=" + ModelName(shared_.facts.Get().DeviceTypeReported) + " ";
    }
    const bool showingFile = shared_.flags.ShowingFile;
    if (showingFile)
        caption += " - " + mainFile_.name;
    else if (backgroundFile_.fromFile || background_.HasData())
        caption += main_.HasData() ? " -  " + std::to_string(main_.Info[fi::FrameCounter]) : " - ...";
    if (backgroundFile_.fromFile)
        caption += "  //  " + backgroundFile_.name;
    else if (background_.HasData())
        caption += "  //   " + std::to_string(background_.Info[fi::FrameCounter]);
    if (link_.Kind() == LinkKind::Simulated) caption += " [simulated]";
    setWindowTitle(QString::fromStdString(caption));

    // 4. Scroll range: a position beyond the valid points starts over.
    std::int32_t scroll = scrollX_->value();
    if (scroll > main_.Info[fi::ValidPoints]) scroll = 0;
    {
        const QSignalBlocker block(scrollX_);
        scrollX_->setRange(0, main_.Info[fi::ValidPoints]);
        scrollX_->setValue(scroll);
    }

    // 5.-20. The screen.
    if (main_.Info[fi::FrameCounter] != lastFrameCounter_ && main_.HasData()) {
        lastFrameCounter_ = main_.Info[fi::FrameCounter];
        ++framesShown_;
    }
    ScreenInput in{s, model_.derived, main_, background_};
    in.BackgroundLevels = backgroundLevels_;
    in.Geometry = geometry_;
    in.ScrollIndex = scroll;
    in.BgLaneSwap = bgLaneSwap_;
    in.Dragging = Dragging();
    in.LinkPerSecond = stats_.PerSecond();
    in.VccCentivolts = shared_.facts.Get().VccCentivolts;
    in.Activity = {shared_.flags.IndicatorFrame.exchange(false), shared_.flags.IndicatorStatus.exchange(false),
                   bool(shared_.flags.RunFlag)};
    in.SpectrumNewData = shared_.flags.NewFrameData || spectrumRequest_;
    in.SettingsChanged = shared_.flags.SettingsChanged;
    in.DecimalSeparator = QLocale::system().decimalPoint().at(0).toLatin1();
    const ScreenOutput out = renderer_.Render(in, bitmap_);
    if (out.SpectrumComputed) {
        shared_.flags.NewFrameData = false;
        spectrumRequest_ = false;
        shared_.flags.SettingsChanged = false;
    }
    backgroundStart_ = out.BackgroundStart;
    actions_["Menu_FFT_A1"]->setEnabled(out.Menus.EnabledA1);
    actions_["Menu_FFT_A2"]->setEnabled(out.Menus.EnabledA2);
    if (s.FFT.View_A1 != out.Menus.ViewA1 || s.FFT.View_A2 != out.Menus.ViewA2) {
        s.FFT.View_A1 = out.Menus.ViewA1;
        s.FFT.View_A2 = out.Menus.ViewA2;
        SyncMenus();  // the menu shows no spectrum whose channel is off
    }

    // 21. One copy to the window.
    imageM_->update();
    RefreshPanels();
}

void MainWindow::DrawActivityIndicator() {
    renderer_.DrawActivityOnly(bitmap_, geometry_, model_.state.Colors,
                               {shared_.flags.IndicatorFrame.exchange(false),
                                shared_.flags.IndicatorStatus.exchange(false), bool(shared_.flags.RunFlag)});
    imageM_->update();
}

void MainWindow::RefreshPanels() {
    const ScopeState& s = model_.state;
    const ColourSlots& c = s.Colors;
    const QColor face = palette().color(QPalette::Button);
    const QColor border = ToQColor(c[ColourSlot::Border]);
    Paint(widgets_["Panel_Gen"], QPalette::Window, border);
    const QColor text = s.Generator.GenOn
                            ? ToQColor(c[ColourSlot::Grid_Frame])
                            : ToQColor(BlendColor(c[ColourSlot::Grid_Frame], c[ColourSlot::Border], 3.0));
    for (const char* name : {"Label_F", "Label_V", "Label_Mod", "Label_Pulse"}) {
        Paint(widgets_[name], QPalette::Window, border);
        Paint(widgets_[name], QPalette::WindowText, text);
    }
    const GeneratorReadouts labels = ComputeGeneratorReadouts(
        s.Generator, s.System.Device_Type_Code, QLocale::system().decimalPoint().at(0).toLatin1());
    static_cast<QLabel*>(widgets_["Label_F"])->setText(QString::fromStdString(labels.F));
    static_cast<QLabel*>(widgets_["Label_V"])->setText(QString::fromStdString(labels.V));
    static_cast<QLabel*>(widgets_["Label_Pulse"])->setText(QString::fromStdString(labels.Pulse));
    static_cast<QLabel*>(widgets_["Label_Mod"])->setText(QString::fromStdString(labels.Mod));
    widgets_["Label_Pulse"]->setVisible(labels.PulseVisible);
    widgets_["Label_Mod"]->setVisible(labels.ModVisible);
    Paint(widgets_["Panel_Color_TD"], QPalette::Window, ToQColor(c[ColourSlot::Grid_Frame]));
    Paint(widgets_["Panel_Color_A1"], QPalette::Window, s.Common.CH_A1 ? ToQColor(c[ColourSlot::CH_A1]) : face);
    Paint(widgets_["Panel_Color_A2"], QPalette::Window, s.Common.CH_A2 ? ToQColor(c[ColourSlot::CH_A2]) : face);
    QColor trig = face;
    switch (s.Trigger.Source) {
        case TriggerSource::CH_A1: trig = ToQColor(c[ColourSlot::CH_A1]); break;
        case TriggerSource::CH_A2: trig = ToQColor(c[ColourSlot::CH_A2]); break;
        case TriggerSource::CH_D1: trig = ToQColor(c[ColourSlot::CH_D1]); break;
        case TriggerSource::CH_D2: trig = ToQColor(c[ColourSlot::CH_D2]); break;
        case TriggerSource::None: break;
    }
    Paint(widgets_["Panel_Color_Trig"], QPalette::Window, trig);
}

}  // namespace qx40
