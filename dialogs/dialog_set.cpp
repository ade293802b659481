#include "dialogs/dialog_set.h"

#include <type_traits>

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
    const auto own = [&](auto*& slot) {
        using Dialog = std::remove_reference_t<decltype(*slot)>;
        auto dialog = std::make_unique<Dialog>(context.session, context.mainWindow);
        slot = dialog.get();
        owned_.push_back(std::move(dialog));
    };
    shell(about, "AboutBox", "About");
    own(trigger);
    shell(colours, "Form_ColorSet", "Colors");
    shell(zeroCalibration, "Form_ZeroCalibrate", "Zero Calibrate");
    shell(timeCalibration, "Form_TimeCalibrate", "Freq. Meter Calibrate");
    shell(fft, "Form_FFTSet", "FFT Settings");
    own(generator);
    shell(tdcCalibration, "Form_TDCCalibrate", "TDC Calibrate");
    shell(recorder, "Form_Recorder", "Recorder");
}

DialogSet::~DialogSet() = default;

}  // namespace qx40
