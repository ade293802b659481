#include "app/program_icon.h"

#include <QDirIterator>

namespace qx40 {

QIcon ProgramIcon() {
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/qx40/icons"), {QStringLiteral("*.png")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        icon.addFile(it.next());
    return icon;
}

}  // namespace qx40
