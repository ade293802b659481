// Where a dialog of the window opens: centred on the main window.
#pragma once

class QWidget;

namespace qx40 {

// Moves the dialog's frame so that its centre is the window's; nothing
// without a window.
void CentreOnWindow(QWidget& dialog, const QWidget* window);

}  // namespace qx40
