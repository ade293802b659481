// The colour dialog: a button and a panel for each of the twelve colour
// slots. A button opens the colour chooser; the colour chosen is drawn at
// once. Default puts back every default colour; OK keeps the colours and
// writes the program settings file; Cancel puts back those of the opening.
#pragma once

#include <QFrame>
#include <QPushButton>
#include <array>
#include <functional>

#include "base/user_dialogs.h"
#include "dialogs/settings_dialog.h"
#include "screen/colour_slot_captions.h"

namespace qx40 {

class TForm_ColorSet : public SettingsDialog {
    Q_OBJECT
public:
    TForm_ColorSet(ScopeSession& session, UserDialogs& dialogs, QWidget* mainWindow,
                   std::function<bool()> saveProgramSettings);

protected:
    void CopyFields() override { copy_ = State().Colors; }
    void RestoreFields() override { State().Colors = copy_; }
    void ShowCaptions(bool russian) override;
    void FormShow() override;
    void Accepted() override;
    void ApplyRestored() override { Session().ApplySettings(); }

private:
    struct SlotControls {
        const ColourSlotRow* row = nullptr;
        QPushButton* button = nullptr;
        QFrame* panel = nullptr;
    };
    void SlotClick(const SlotControls& slot);
    void Button_clDefaultClick();
    // Paints every panel with its slot's colour.
    void ShowColorPanels();

    UserDialogs& dialogs_;
    std::function<bool()> saveProgramSettings_;
    std::array<SlotControls, kColourSlotCount> slots_;
    QPushButton* buttonDefault_ = nullptr;
    QPushButton* buttonOK_ = nullptr;
    QPushButton* buttonCancel_ = nullptr;
    ColourSlots copy_;
};

}  // namespace qx40
