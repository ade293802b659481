// Writes the main window's captions in one language.
#pragma once

#include <cstdint>

class QWidget;

namespace qx40 {

// Sets the text of every item of the caption table found by objectName under
// the window (widgets, menus and their actions, also actions that hang only
// in a menu), each through the setter of its kind. Items the window lacks
// are skipped, since some models have no such control; the window title is
// left alone. The controls' tooltips follow in the same language.
void ApplyCaptions(QWidget* window, bool russian, std::int32_t deviceTypeCode);

}  // namespace qx40
