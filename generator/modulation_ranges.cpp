#include "generator/modulation_ranges.h"

#include <algorithm>

namespace qx40 {

void BringModulationIntoRange(GeneratorSection& g) {
    const ModulationRanges& r = kModulationRanges;
    if (g.Mod_Type != 0 && g.Mod_Type != 1) g.Mod_Type = 2;
    if (g.Mod_Src < 0 || g.Mod_Src > 4) g.Mod_Src = 0;
    g.Inv = g.Inv != 0 ? 1 : 0;
    for (std::int32_t* bar :
         {&g.Mod_Freq_Fast, &g.Mod_Freq_Slow, &g.Mod_K, &g.Dev_Freq, &g.Sum_Lev})
        *bar = r.Bar.Clamp(*bar);
    std::int32_t step = r.MF_Mult.front();
    for (const std::int32_t m : r.MF_Mult)
        if (g.MF_Mult >= m) step = m;
    g.MF_Mult = step;
    g.DF_Mult = g.DF_Mult == r.DF_Mult[0] ? r.DF_Mult[0] : r.DF_Mult[1];  // the dialog shows 100K
    if (g.MF_Shape != r.NoiseShape &&
        std::find(r.ShapeCodes.begin(), r.ShapeCodes.end(), g.MF_Shape) == r.ShapeCodes.end())
        g.MF_Shape = r.ShapeCodes[0];
}

}  // namespace qx40
