// The program's icon, drawn from packaging/qx40.svg at the build: the
// window icon and the About box's picture; the desktop shows the same
// drawing from share/icons.
#pragma once

#include <QIcon>

namespace qx40 {

QIcon ProgramIcon();

}  // namespace qx40
