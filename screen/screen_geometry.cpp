#include "screen/screen_geometry.h"

#include <algorithm>
#include <cmath>

namespace qx40 {

ScreenGeometry ComputeScreenGeometry(std::int32_t iw, std::int32_t ih) {
    ScreenGeometry g;
    g.Small = iw < 500;
    g.X0 = 30;
    g.Y0 = g.Small ? 18 : 24;
    g.W = std::max<std::int32_t>(((iw - 2 * g.X0) / 20) * 20, 125);
    const auto topAndBottom = static_cast<std::int32_t>(std::trunc(g.Y0 * 4.25));
    g.H = std::max<std::int32_t>(((ih - topAndBottom) / 16) * 16, 64);
    g.X0 = (iw - g.W) / 2 + 1;
    // A quarter of the spare height above the grid, the rest below for the text rows.
    g.Y0 = static_cast<std::int32_t>(std::trunc((ih - g.H) * 4.0 / 17.0 + 1.0));
    g.Px = g.W / 10;
    g.Py = g.H / 8;
    g.Hs = g.W * 0.002;
    g.Vs = g.H / 256.0;
    return g;
}

}  // namespace qx40
