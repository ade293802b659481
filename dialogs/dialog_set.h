// The program's dialog windows, created once when the main window is built,
// in their order, and only shown afterwards. A dialog whose content is not
// built yet is an empty shell with its name.
#pragma once

#include <QDialog>
#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

#include "base/user_dialogs.h"
#include "device/scope_session.h"
#include "dialogs/generator_settings_dialog.h"
#include "dialogs/trigger_settings_dialog.h"

namespace qx40 {

class TForm_Recorder;

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

class TAboutBox;
class TForm_ColorSet;
class TForm_FFTSet;

class DialogShell : public QDialog {
    Q_OBJECT
public:
    DialogShell(const char* objectName, const char* title, QWidget* parent);
};

class DialogSet {
public:
    explicit DialogSet(const DialogContext& context);
    ~DialogSet();

    // In their order of creation.
    TAboutBox* about = nullptr;
    TForm_TrigSet* trigger = nullptr;
    TForm_ColorSet* colours = nullptr;
    QDialog* zeroCalibration = nullptr;
    QDialog* timeCalibration = nullptr;
    TForm_FFTSet* fft = nullptr;
    TForm_GeneratorSet* generator = nullptr;
    QDialog* tdcCalibration = nullptr;
    TForm_Recorder* recorder = nullptr;

private:
    std::vector<std::unique_ptr<QDialog>> owned_;
};

}  // namespace qx40
