// The program's dialog windows, created once at start in their order and
// shown modally by their menu commands. A dialog whose content is not built
// yet is an empty shell with its name, so the window order and the names
// already hold.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

namespace qx40 {

class DialogShell : public QDialog {
    Q_OBJECT
public:
    DialogShell(const char* objectName, const char* title, QWidget* parent);
};

// About box, trigger, colours, zero calibration, time-base calibration,
// FFT, generator modulation, TDC calibration, recorder.
std::vector<std::unique_ptr<QDialog>> CreateDialogs(QWidget* mainWindow);

}  // namespace qx40
