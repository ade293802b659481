#include "dialogs/centre_on_window.h"

#include <QWidget>

namespace qx40 {

void CentreOnWindow(QWidget& dialog, const QWidget* window) {
    if (!window) return;
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(window->frameGeometry().center());
    dialog.move(frame.topLeft());
}

}  // namespace qx40
