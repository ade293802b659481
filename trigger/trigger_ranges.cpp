#include "trigger/trigger_ranges.h"

namespace qx40 {

void BringTriggerIntoRange(TriggerSection& t) {
    const TriggerRanges& r = kTriggerRanges;
    t.Pre = r.Pre.Clamp(t.Pre);
    t.Hyst = r.Hyst.Clamp(t.Hyst);
    t.N = r.N.Clamp(t.N);
    t.PTmin = r.PTmin.Clamp(t.PTmin);
    t.PTmax = r.PTmax.Clamp(t.PTmax);
    if (t.PTmin >= t.PTmax) t.PTmax = t.PTmin + 1;  // as moving the lower limit does
    // The largest multiplier step not above the value.
    std::int32_t step = r.PTmult.front();
    for (const std::int32_t m : r.PTmult)
        if (t.PTmult >= m) step = m;
    t.PTmult = step;
    // The three-state boxes show any mode but 0 and 1 as checked, which is 2.
    for (std::int32_t* mode : {&t.PTMode, &t.Slew_Mode})
        if (*mode != 0 && *mode != 1) *mode = 2;
    t.Slew = r.Slew.Clamp(t.Slew);
    // One bit per channel.
    t.Levels &= 0x0F;
    t.Lev_Mask &= 0x0F;
}

}  // namespace qx40
