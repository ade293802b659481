#include "calibration/zero_offset_code.h"

#include <algorithm>

#include "base/round_nearest.h"

namespace qx40 {

std::int32_t ZeroOffsetCode(std::int32_t zero, int channel, std::int32_t baseMicroVolts,
                            const CalibrateSection& cal) {
    std::int32_t p1, p2, sh;
    if (channel == 1) {
        p1 = cal.Z_A1P1, p2 = cal.Z_A1P2, sh = cal.Z_A1SH;
    } else if (channel == 2) {
        p1 = cal.Z_A2P1, p2 = cal.Z_A2P2, sh = cal.Z_A2SH;
    } else {
        return 2048;
    }
    if (p1 == p2 || baseMicroVolts <= 0) return 2048;
    // 1360 and 3040 are the offset codes at which P1 and P2 were measured.
    const double shift = static_cast<double>(sh) * 50000.0 / baseMicroVolts;
    const double position = 16.0 * zero - p1 - shift;
    const double code = position * 1680.0 / (static_cast<double>(p2) - p1) + 1360.0;
    // The offset register has 12 bits; a wild calibration or zero position
    // must not reach the bits beside them.
    return RoundNearest(std::clamp(code, 0.0, 4095.0));
}

}  // namespace qx40
