// What every drawing step of one screen refresh reads besides its own
// arguments: the geometry, the colours and the view-wide settings.
#pragma once

#include <cstdint>

#include "base/colour_slots.h"
#include "screen/screen_geometry.h"

namespace qx40 {

struct ScreenContext {
    ScreenGeometry Geometry;
    ColourSlots Colors;
    std::int64_t TimePerDivNs = 1000000;
    std::int32_t ScrollIndex = 0;  // first main slot at the left grid edge
    std::int32_t VoltsDivA1 = 0;   // microvolts per division now (0 = not applied yet)
    std::int32_t VoltsDivA2 = 0;
    bool Debug = false;            // Debug_qx: numbers beside the level and zero marks
    char DecimalSeparator = '.';
};

}  // namespace qx40
