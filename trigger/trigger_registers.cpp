#include "trigger/trigger_registers.h"

#include <algorithm>

#include "scope/value_tables.h"
#include "base/round_nearest.h"

namespace qx40 {

TriggerThresholds ComputeThresholds(double level, std::int32_t hystIndex) {
    const std::int32_t l = std::clamp(RoundNearest(level), 0, 255);
    const std::int32_t h = HysteresisCodes(hystIndex);
    TriggerThresholds t;
    t.low = static_cast<std::uint8_t>(l > h ? l - h : 1);
    t.high = static_cast<std::uint8_t>(l <= 255 - h ? l + h : 255);
    return t;
}

std::uint8_t TriggerSourceFlags(const TriggerSection& t) {
    std::uint8_t flags = 0;
    if (t.Source == TriggerSource::CH_D1 || t.Source == TriggerSource::CH_D2) flags |= kTrigDigitalSource;
    if (t.Source == TriggerSource::CH_A2 || t.Source == TriggerSource::CH_D2) flags |= kTrigSecondChannel;
    if (t.Edge) flags |= kTrigFalling;
    if (t.Auto) flags |= kTrigAuto;
    return flags;
}

void PlaceTriggerRegisters(const TriggerSection& t, const DerivedQuantities& d, DeviceSettings& regs) {
    const TriggerThresholds a1 = ComputeThresholds(t.Lev_A1, t.Hyst);
    const TriggerThresholds a2 = ComputeThresholds(t.Lev_A2, t.Hyst);
    regs.reg[reg::kA1Low] = a1.low;
    regs.reg[reg::kA1High] = a1.high;
    regs.reg[reg::kA2Low] = a2.low;
    regs.reg[reg::kA2High] = a2.high;
    regs.reg[reg::kTriggerCount] = static_cast<std::uint8_t>(d.TriggerCount);

    if (!t.TPLUS) {
        regs.reg[reg::kLevelMask] = 0;
        return;
    }
    std::uint8_t mode = regs.reg[reg::kChanMode];
    if (t.PTMode == 1) mode |= 0x18;
    if (t.PTMode == 2) mode |= 0x08;
    if (t.Slew_Mode == 1) mode |= 0x60;
    if (t.Slew_Mode == 2) mode |= 0x20;
    regs.reg[reg::kChanMode] = mode;
    regs.Put<4>(reg::kPulseMin, static_cast<std::uint32_t>(std::int64_t{t.PTmin} * t.PTmult));
    regs.Put<4>(reg::kPulseMax, static_cast<std::uint32_t>(std::int64_t{t.PTmax} * t.PTmult));
    regs.reg[reg::kSlew] = static_cast<std::uint8_t>(t.Slew);
    regs.reg[reg::kLevelMask] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(t.Lev_Mask) * 16u +
                                                          static_cast<std::uint32_t>(t.Levels));
}

}  // namespace qx40
