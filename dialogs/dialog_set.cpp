#include "dialogs/dialog_set.h"

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
    shell(about, "AboutBox", "About");
    shell(trigger, "Form_TrigSet", "Trigger Settings");
    shell(colours, "Form_ColorSet", "Colors");
    shell(zeroCalibration, "Form_ZeroCalibrate", "Zero Calibrate");
    shell(timeCalibration, "Form_TimeCalibrate", "Freq. Meter Calibrate");
    shell(fft, "Form_FFTSet", "FFT Settings");
    shell(generator, "Form_GeneratorSet", "Generator Modulation Settings");
    shell(tdcCalibration, "Form_TDCCalibrate", "TDC Calibrate");
    shell(recorder, "Form_Recorder", "Recorder");
}

DialogSet::~DialogSet() = default;

}  // namespace qx40
