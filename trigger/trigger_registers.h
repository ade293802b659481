// Trigger state to trigger registers: source and edge bits, the comparator
// window around each level, the trigger count and the T+ conditions.
#pragma once

#include <cstdint>

#include "scope/derived_quantities.h"
#include "device/device_settings.h"
#include "scope/scope_state.h"

namespace qx40 {

struct TriggerThresholds {
    std::uint8_t low = 0;
    std::uint8_t high = 0;
};

// Window of +-h codes around the level rounded to a code; the low edge never
// reaches 0 and the high edge stops at 255.
TriggerThresholds ComputeThresholds(double level, std::int32_t hystIndex);

// TrigFlags bits 1, 2, 4, 5 for the source, edge and auto.
std::uint8_t TriggerSourceFlags(const TriggerSection& t);

// Registers 12..27 (thresholds, count, slew, level mask, pulse limits) and
// the T+ bits of ChanMode. Without T+ the slew and pulse limits keep the
// values of the last apply that had it.
void PlaceTriggerRegisters(const TriggerSection& t, const DerivedQuantities& d, DeviceSettings& regs);

}  // namespace qx40
