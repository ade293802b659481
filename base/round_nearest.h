// The one rounding of the program: halves away from zero.
#pragma once

#include <cstdint>

namespace qx40 {

// trunc(x + 0.5) for x >= 0, trunc(x - 0.5) below; saturates at the int32
// limits (and gives 0 for NaN) so that a wild value never overflows.
std::int32_t RoundNearest(double x);

}  // namespace qx40
