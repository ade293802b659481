// The main window's place on the desktop, kept in the program settings file
// and checked against the screens there are when the window opens.
#pragma once

class QWidget;

namespace qx40 {

struct CommonSection;

// Before the window is first shown: its saved size and place (the frame's
// top left corner), moved onto a screen when no screen shows its title bar,
// and maximised again when it was. Nothing saved: left as it is.
void RestoreWindowBounds(QWidget& window, const CommonSection& saved);

// The window's normal size and place and whether it is maximised.
void SaveWindowBounds(const QWidget& window, CommonSection& saved);

}  // namespace qx40
