#include "scope/derived_quantities.h"

#include "scope/value_tables.h"

namespace qx40 {

std::int32_t SampleDividerFor(std::int64_t interval, std::int64_t timePerDivNs) {
    std::int64_t divider;
    if (interval == 125) {
        divider = 2;
    } else if (interval == 250) {
        divider = timePerDivNs / 10 == 50 ? 5 : 4;
    } else if (interval == 1250) {
        divider = 20;
    } else {
        divider = interval / 100;
    }
    return divider == 0 ? 1 : static_cast<std::int32_t>(divider);
}

void ComputeSampleGeometry(const ScopeState& s, DerivedQuantities& d) {
    const CommonSection& c = s.Common;
    d.SingleChannelMode = !(c.CH_A1 && c.CH_A2) && !(c.CH_D1 && c.CH_D2);
    d.SampleCount = NominalSampleCount(c.SampleCount, d.SingleChannelMode);
    d.Divisions = DivisionsOf(c.SignalLength);
    if (d.Divisions == 200 && d.SampleCount == 5000 && c.SmplPeakDet) d.Divisions = 250;

    const std::int64_t points =
        (c.SmplPeakDet ? d.SampleCount / 2 : d.SampleCount) / d.Divisions;
    const std::int64_t interval = d.TimePerDivNs * 10 / points;
    d.SampleDivider = SampleDividerFor(interval, d.TimePerDivNs);

    std::int64_t perDiv = (d.TimePerDivNs / 10) / d.SampleDivider;
    if (c.SmplPeakDet && d.SampleDivider > 1) perDiv *= 2;
    d.SamplesPerDiv = static_cast<std::int32_t>(perDiv);
}

bool IsRollActive(const ScopeState& s) {
    return IsRollTimebase(s.Scope.TimebaseIndex) && s.Trigger.Source == TriggerSource::None;
}

double RescaleLevel(double level, std::int32_t zero, std::int32_t oldMicroVolts,
                    std::int32_t newMicroVolts) {
    if (oldMicroVolts <= 0 || newMicroVolts <= 0) return level;
    const double r = static_cast<double>(oldMicroVolts) / newMicroVolts;
    return (level - zero) * r + zero;
}

}  // namespace qx40
