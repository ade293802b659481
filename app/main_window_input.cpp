// Pointer on the paint area and keys of the window, carried out through the
// pointer controller and the key commands.
#include <QKeyEvent>

#include "screen/key_commands.h"
#include "app/main_window.h"
#include "app/screen_view.h"

namespace qx40 {
namespace {

PointerButtons ButtonsOf(Qt::MouseButtons b) { return {bool(b & Qt::LeftButton), bool(b & Qt::RightButton)}; }

Key KeyOf(int key) {
    switch (key) {
        case Qt::Key_F: return Key::F;
        case Qt::Key_Space: return Key::Space;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Left: return Key::Left;
        case Qt::Key_Right: return Key::Right;
        case Qt::Key_Up: return Key::Up;
        case Qt::Key_Down: return Key::Down;
        default: return Key::Other;
    }
}

}  // namespace

void MainWindow::ConnectPointer() {
    const auto scene = [this] {
        return PointerScene{session_.State(), BackgroundLevels(), geometry_, BackgroundRecord().HasData()};
    };
    imageM_->pressed = [this, scene](int x, int y, Qt::MouseButtons buttons) {
        FollowUp(pointer_.Press(scene(), x, y, ButtonsOf(buttons)));
    };
    imageM_->moved = [this, scene](int x, int y, Qt::MouseButtons buttons) {
        FollowUp(pointer_.Move(scene(), x, y, ButtonsOf(buttons)));
    };
    imageM_->released = [this](Qt::MouseButtons button) { FollowUp(pointer_.Release(ButtonsOf(button))); };
    imageM_->doubleClicked = [this](Qt::MouseButtons button) {
        FollowUp(pointer_.DoubleClick(session_.State(), ButtonsOf(button)));
    };
}

DraggedLevel MainWindow::Dragging() const {
    switch (pointer_.DragMode()) {
        case DragTarget::Lev_A1: return DraggedLevel::A1;
        case DragTarget::Lev_A2: return DraggedLevel::A2;
        default: return DraggedLevel::None;
    }
}

void MainWindow::FollowUp(PointerAction action) {
    switch (action) {
        case PointerAction::None: break;
        case PointerAction::ApplySettings: ApplySettings(); break;
        case PointerAction::ApplyAndRestart: ApplyAndRestart(); break;
        case PointerAction::ArrangePanels:
            ArrangePanels(session_.State().View.Compact, session_.State().Common.Generator);
            RecalcScreenGeometry();
            ApplySettings();
            break;
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const Key key = KeyOf(event->key());
    if (key == Key::Other) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    const SpectrumItemsEnabled spectrum{menus_.fftA1->isEnabled(), menus_.fftA2->isEnabled()};
    switch (KeyDown(session_.State(), key, event->modifiers() & Qt::ShiftModifier, spectrum)) {
        case KeyAction::None: break;
        case KeyAction::ApplyAndRestart: ApplyAndRestart(); break;
        case KeyAction::ClickMenu_FFT_A1: Menu_FFT_Click(1); break;
        case KeyAction::ClickMenu_FFT_A2: Menu_FFT_Click(2); break;
        case KeyAction::ClickSpeedButton_Run: RunButtonClick(RunButton::Run); break;
        case KeyAction::ClickSpeedButton_Sngl: RunButtonClick(RunButton::Single); break;
    }
    event->accept();
}

}  // namespace qx40
