// Offset DAC code that puts a channel's zero line at a given screen code,
// from the channel's zero calibration.
#pragma once

#include <cstdint>

#include "scope/scope_state.h"

namespace qx40 {

// channel 1 (A1) or 2 (A2); baseMicroVolts is the range without the probe.
// 2048 for an uncalibrated channel (P1 = P2) and for any other channel number;
// always within the offset register's 0..4095.
std::int32_t ZeroOffsetCode(std::int32_t zero, int channel, std::int32_t baseMicroVolts,
                            const CalibrateSection& cal);

}  // namespace qx40
