// Fixed value tables of the instrument: time base, volts per division with
// their gain range codes and captions, and the per-choice numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scope/scope_enums.h"

namespace qx40 {

std::int64_t TimePerDivNsOf(TimebaseIndex t);
bool IsRollTimebase(TimebaseIndex t);  // 100 ms/div and slower

std::int32_t BaseMicroVoltsOf(VoltsDiv v);
std::uint8_t RangeCodeOf(VoltsDiv v);
std::string_view VoltsDivCaption(VoltsDiv v, Probe p);
std::int32_t ProbeFactor(Probe p);

std::int32_t NominalSampleCount(SampleCountChoice c, bool singleChannelMode);
std::int32_t DivisionsOf(SignalLength s);
std::int32_t FrameIntervalMsOf(FrameRate f);
std::uint8_t FreqMeterCode(FreqMeterSource f);  // 1..7
std::int32_t HysteresisCodes(std::int32_t hystIndex);  // half-width of the trigger window

// Name of a device model: "QX4001A", "QX4002", "QX4003" or
// "QX40xx Type = " plus the code as four upper-case hex digits.
std::string ModelName(std::int32_t deviceTypeCode);

}  // namespace qx40
