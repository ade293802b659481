#include "dialogs/dialog_set.h"

#include "dialogs/about_box.h"
#include "dialogs/colour_settings_dialog.h"
#include "dialogs/fft_settings_dialog.h"
#include "dialogs/generator_settings_dialog.h"
#include "dialogs/recorder_dialog.h"
#include "dialogs/tdc_calibrate_dialog.h"
#include "dialogs/time_calibrate_dialog.h"
#include "dialogs/trigger_settings_dialog.h"
#include "dialogs/zero_calibrate_dialog.h"

namespace qx40 {

DialogSet::DialogSet(const DialogContext& context) {
    const auto own = [&](auto*& slot, auto dialog) {
        slot = dialog.get();
        owned_.push_back(std::move(dialog));
    };
    QWidget* w = context.mainWindow;
    own(about, std::make_unique<TAboutBox>(context.session, w, context.programIcon));
    own(trigger, std::make_unique<TForm_TrigSet>(context.session, w));
    own(colours, std::make_unique<TForm_ColorSet>(context.session, context.dialogs, w, context.saveProgramSettings));
    own(zeroCalibration, std::make_unique<TForm_ZeroCalibrate>(context.session, w, context.saveProgramSettings));
    own(timeCalibration, std::make_unique<TForm_TimeCalibrate>(context.session, w, context.saveProgramSettings));
    own(fft, std::make_unique<TForm_FFTSet>(context.session, w));
    own(generator, std::make_unique<TForm_GeneratorSet>(context.session, w));
    own(tdcCalibration, std::make_unique<TForm_TDCCalibrate>(context.session, w));
    own(recorder, std::make_unique<TForm_Recorder>(context.session, context.dialogs, w));
}

DialogSet::~DialogSet() = default;

}  // namespace qx40
