// A dialog that edits the live state: modal, centred on the main window, the
// program busy while it is open. Every edit is applied at once, so the
// instrument follows while the dialog is open. OK keeps the edits; Cancel,
// Escape and the close box put back the fields copied when it opened and
// apply again. Captions are those of the language in force when it opens.
#pragma once

#include <QDialog>

#include "device/scope_session.h"

namespace qx40 {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(ScopeSession& session, QWidget* mainWindow);

    // Shows the dialog until it is closed; true for OK.
    bool Run();

protected:
    // The fields this dialog edits, copied at opening and put back on cancel.
    virtual void CopyFields() = 0;
    virtual void RestoreFields() = 0;
    // Captions in one language.
    virtual void ShowCaptions(bool russian) = 0;
    // Loads the controls from the state; change handlers do nothing meanwhile.
    virtual void FormShow() = 0;
    // OK was pressed; the edits stay.
    virtual void Accepted() {}
    // How the instrument takes the fields put back: ApplyAndRestart unless
    // the dialog only edits what the view shows.
    virtual void ApplyRestored() { session_.ApplyAndRestart(); }

    // True while the dialog fills its controls: handlers return at once.
    bool Updating() const { return updating_; }
    ScopeSession& Session() { return session_; }
    ScopeState& State() { return session_.State(); }
    bool Russian() const { return session_.State().Common.Russian; }

    void reject() override;

private:
    ScopeSession& session_;
    QWidget* mainWindow_;
    bool updating_ = false;
};

}  // namespace qx40
