// The About box: the product and the model the instrument reported, the
// program's version, the instrument's firmware and FPGA versions and, in
// debug mode, its serial number, beside the program's icon. Modal, centred
// on the window, the program busy while it is open; it edits nothing.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "device/scope_session.h"

namespace qx40 {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(ScopeSession& session, QWidget* mainWindow, const QIcon& programIcon);

    // Shows the box, in the language in force, until it is closed.
    void Run();

private:
    void FormShow();

    ScopeSession& session_;
    QWidget* mainWindow_;
    QLabel* programIcon_ = nullptr;
    QLabel* productName_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* version1_ = nullptr;
    QLabel* version2_ = nullptr;
    QLabel* labelSN_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace qx40
