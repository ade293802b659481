#include "dialogs/dialog_set.h"

#include "dialogs/about_box.h"
#include "dialogs/colour_settings_dialog.h"
#include "dialogs/fft_settings_dialog.h"

#include "dialogs/recorder_dialog.h"

namespace qx40 {

DialogShell::DialogShell(const char* objectName, const char* title, QWidget* parent) : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
}

DialogSet::DialogSet(const DialogContext& context) {
    const auto shell = [&](QDialog*& slot, const char* name, const char* title) {
        owned_.push_back(std::make_unique<DialogShell>(name, title, context.mainWindow));
        slot = owned_.back().get();
    };
    const auto own = [&](auto*& slot, auto dialog) {
        slot = dialog.get();
        owned_.push_back(std::move(dialog));
    };
    QWidget* w = context.mainWindow;
    own(about, std::make_unique<TAboutBox>(context.session, w, context.programIcon));
    own(trigger, std::make_unique<TForm_TrigSet>(context.session, w));
    own(colours, std::make_unique<TForm_ColorSet>(context.session, context.dialogs, w, context.saveProgramSettings));
    shell(zeroCalibration, "Form_ZeroCalibrate", "Zero Calibrate");
    shell(timeCalibration, "Form_TimeCalibrate", "Freq. Meter Calibrate");
    own(fft, std::make_unique<TForm_FFTSet>(context.session, w));
    own(generator, std::make_unique<TForm_GeneratorSet>(context.session, w));
    shell(tdcCalibration, "Form_TDCCalibrate", "TDC Calibrate");
    auto recorderDialog = std::make_unique<TForm_Recorder>(context.session, context.dialogs, context.mainWindow);
    recorder = recorderDialog.get();
    owned_.push_back(std::move(recorderDialog));
}

DialogSet::~DialogSet() = default;

}  // namespace qx40
