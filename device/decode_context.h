// What the acquisition thread needs, besides the register image, to decode
// a frame: values of the scope state at the last apply. It travels with the
// image so that both always come from the same apply.
#pragma once

#include <cstdint>

namespace qx40 {

struct DecodeContext {
    std::int32_t SampleCount = 5000;
    std::int32_t SampleDivider = 200;
    bool SingleChannelMode = false;
    std::int32_t VoltsDivA1 = 1000000;
    std::int32_t VoltsDivA2 = 1000000;
    std::int32_t A1_Zero = 191;
    std::int32_t A2_Zero = 63;
    double Lev_A1 = 191.0;
    double Lev_A2 = 63.0;
    bool Lenta = false;
    std::int32_t PreTrigCount = 0;
    std::int32_t TriggerCount = 0;  // register 16
    std::uint8_t LowA1 = 0, HighA1 = 0, LowA2 = 0, HighA2 = 0;  // comparator thresholds
    std::int32_t Time = 0;     // frequency-meter time-base correction
    std::int32_t GenSpan = 0;  // generator sweep span, 0.1 Hz
    std::int32_t GenFreq = 0;  // generator frequency (sweep start), 0.1 Hz

    bool operator==(const DecodeContext&) const = default;
};

}  // namespace qx40
