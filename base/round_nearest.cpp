#include "base/round_nearest.h"

#include <cmath>
#include <limits>

namespace qx40 {

std::int32_t RoundNearest(double x) {
    if (std::isnan(x)) return 0;
    const double r = x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

}  // namespace qx40
