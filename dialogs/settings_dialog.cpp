#include "dialogs/settings_dialog.h"

#include "dialogs/centre_on_window.h"

namespace qx40 {

SettingsDialog::SettingsDialog(ScopeSession& session, QWidget* mainWindow)
    : QDialog(mainWindow), session_(session), mainWindow_(mainWindow) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

bool SettingsDialog::Run() {
    const ScopeSession::BusyHold busy(session_);
    CopyFields();
    ShowCaptions(Russian());
    updating_ = true;
    FormShow();
    updating_ = false;
    adjustSize();
    CentreOnWindow(*this, mainWindow_);
    const bool ok = exec() == QDialog::Accepted;
    if (ok) Accepted();
    return ok;
}

// Cancel, Escape and the close box all end here.
void SettingsDialog::reject() {
    RestoreFields();
    ApplyRestored();
    QDialog::reject();
}

}  // namespace qx40
