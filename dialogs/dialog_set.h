// The program's dialog windows, created once when the main window is built,
// in their order, and only shown afterwards.
#pragma once

#include <QDialog>
#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

#include "base/user_dialogs.h"
#include "device/scope_session.h"

namespace qx40 {

class TAboutBox;
class TForm_ColorSet;
class TForm_FFTSet;
class TForm_GeneratorSet;
class TForm_Recorder;
class TForm_TDCCalibrate;
class TForm_TimeCalibrate;
class TForm_TrigSet;
class TForm_ZeroCalibrate;

// What the dialogs may use of the window.
struct DialogContext {
    ScopeSession& session;
    UserDialogs& dialogs;
    QWidget* mainWindow;
    // Writes the program settings file (after accepted colours and
    // calibrations); false when it could not be written.
    std::function<bool()> saveProgramSettings;
    QIcon programIcon;  // the About box shows it
};

class DialogSet {
public:
    explicit DialogSet(const DialogContext& context);
    ~DialogSet();

    // In their order of creation.
    TAboutBox* about = nullptr;
    TForm_TrigSet* trigger = nullptr;
    TForm_ColorSet* colours = nullptr;
    TForm_ZeroCalibrate* zeroCalibration = nullptr;
    TForm_TimeCalibrate* timeCalibration = nullptr;
    TForm_FFTSet* fft = nullptr;
    TForm_GeneratorSet* generator = nullptr;
    TForm_TDCCalibrate* tdcCalibration = nullptr;
    TForm_Recorder* recorder = nullptr;

private:
    std::vector<std::unique_ptr<QDialog>> owned_;
};

}  // namespace qx40
