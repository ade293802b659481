// The decimal separator of the user's locale, for the read-outs and texts
// that follow it.
#pragma once

#include <QLocale>

namespace qx40 {

inline char LocaleDecimalSeparator() { return QLocale::system().decimalPoint().at(0).toLatin1(); }

}  // namespace qx40
