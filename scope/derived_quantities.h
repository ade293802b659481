// Quantities that every apply recomputes from the scope state.
#pragma once

#include <cstdint>

#include "scope/scope_state.h"

namespace qx40 {

struct DerivedQuantities {
    std::int32_t MarkerMode = 2;  // 0 none, 1 one marker, 2 two markers
    std::int32_t DrawMode = 2;    // 0 dots, 1 vectors, 2 sin(x)/x
    std::int64_t TimePerDivNs = 1000000;
    bool SingleChannelMode = false;
    std::int32_t SampleCount = 5000;
    std::int32_t Divisions = 10;
    std::int32_t SampleDivider = 200;  // in 10 ns periods
    std::int32_t SamplesPerDiv = 500;
    std::int32_t BaseMicroVoltsA1 = 1000000;  // without the probe factor
    std::int32_t BaseMicroVoltsA2 = 1000000;
    std::int32_t VoltsDivA1 = 0;  // probe included; 0 until the first apply
    std::int32_t VoltsDivA2 = 0;
    bool RollActive = false;
    std::int32_t PreTrigCount = 0;
    std::int32_t PostTrigCount = 0;
    std::int32_t TriggerCount = 0;  // register 16
    std::int32_t FrameIntervalMs = 40;
    bool Lenta = false;  // roll display requested, as the display reads it
};

// Steps of the sample geometry, in their order: single-channel mode, sample
// count, divisions (with the 250-division rule), divider, samples per division.
void ComputeSampleGeometry(const ScopeState& s, DerivedQuantities& d);

// The sample divider for interval I (tenths of a nanosecond) at a time base.
std::int32_t SampleDividerFor(std::int64_t intervalTenthsNs, std::int64_t timePerDivNs);

// Roll display: a slow time base without a trigger source.
bool IsRollActive(const ScopeState& s);

// Keeps a trigger level at the same voltage when volts/div changes:
// (level - zero) * oldUv / newUv + zero. Unchanged when either is unknown.
double RescaleLevel(double level, std::int32_t zero, std::int32_t oldMicroVolts,
                    std::int32_t newMicroVolts);

}  // namespace qx40
