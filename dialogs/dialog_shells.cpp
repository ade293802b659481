#include "dialogs/dialog_shells.h"

namespace qx40 {

DialogShell::DialogShell(const char* objectName, const char* title, QWidget* parent) : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
}

std::vector<std::unique_ptr<QDialog>> CreateDialogs(QWidget* mainWindow) {
    static constexpr std::pair<const char*, const char*> kDialogs[] = {
        {"AboutBox", "About"},
        {"Form_TrigSet", "Trigger Settings"},
        {"Form_ColorSet", "Colors"},
        {"Form_ZeroCalibrate", "Zero Calibrate"},
        {"Form_TimeCalibrate", "Freq. Meter Calibrate"},
        {"Form_FFTSet", "FFT Settings"},
        {"Form_GeneratorSet", "Generator Modulation Settings"},
        {"Form_TDCCalibrate", "TDC Calibrate"},
        {"Form_Recorder", "Recorder"},
    };
    std::vector<std::unique_ptr<QDialog>> dialogs;
    for (const auto& [name, title] : kDialogs) dialogs.push_back(std::make_unique<DialogShell>(name, title, mainWindow));
    return dialogs;
}

}  // namespace qx40
