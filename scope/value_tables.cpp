#include "scope/value_tables.h"

#include <array>
#include <cstdio>
#include <string>

namespace qx40 {
namespace {

constexpr std::array<std::int64_t, kTimebaseCount> kTimePerDivNs = {
    20000000000, 10000000000, 5000000000, 2000000000, 1000000000, 500000000, 200000000,
    100000000,   50000000,    20000000,   10000000,   5000000,    2000000,   1000000,
    500000,      200000,      100000,     50000,      20000,      10000,     5000,
    2000,        1000,        500,        200,        100,        50,
};

struct VoltsRow {
    std::int32_t microVolts;
    std::uint8_t rangeCode;
    std::array<std::string_view, 3> captions;  // x1, x10, x100
};

constexpr std::array<VoltsRow, kVoltsDivCount> kVoltsRows = {{
    {2000000, 3, {"2V", "20V", "200V"}},
    {1000000, 7, {"1V", "10V", "100V"}},
    {500000, 6, {"0.5V", "5V", "50V"}},
    {200000, 4, {"0.2V", "2V", "20V"}},
    {100000, 1, {"100mV", "1V", "10V"}},
    {50000, 0, {"50mV", "0.5V", "5V"}},
}};

constexpr std::array<std::int32_t, 6> kHysteresis = {0, 2, 3, 8, 16, 32};

}  // namespace

std::int64_t TimePerDivNsOf(TimebaseIndex t) { return kTimePerDivNs[IndexOf(t)]; }

bool IsRollTimebase(TimebaseIndex t) { return IndexOf(t) <= IndexOf(TimebaseIndex::T100mS); }

std::int32_t BaseMicroVoltsOf(VoltsDiv v) { return kVoltsRows[IndexOf(v)].microVolts; }

std::uint8_t RangeCodeOf(VoltsDiv v) { return kVoltsRows[IndexOf(v)].rangeCode; }

std::string_view VoltsDivCaption(VoltsDiv v, Probe p) {
    return kVoltsRows[IndexOf(v)].captions[IndexOf(p)];
}

std::int32_t ProbeFactor(Probe p) {
    constexpr std::array<std::int32_t, 3> kFactors = {1, 10, 100};
    return kFactors[IndexOf(p)];
}

std::int32_t NominalSampleCount(SampleCountChoice c, bool singleChannelMode) {
    switch (c) {
        case SampleCountChoice::Smpl_N_2000: return 2000;
        case SampleCountChoice::Smpl_N_5000: return 5000;
        case SampleCountChoice::Smpl_N_10000: return 10000;
        case SampleCountChoice::Smpl_N_20000: return singleChannelMode ? 20000 : 10000;
    }
    return 5000;
}

std::int32_t DivisionsOf(SignalLength s) {
    constexpr std::array<std::int32_t, 5> kDivisions = {10, 20, 50, 100, 200};
    return kDivisions[IndexOf(s)];
}

std::int32_t FrameIntervalMsOf(FrameRate f) {
    constexpr std::array<std::int32_t, 5> kIntervals = {125, 66, 40, 25, 10};
    return kIntervals[IndexOf(f)];
}

std::uint8_t FreqMeterCode(FreqMeterSource f) { return static_cast<std::uint8_t>(IndexOf(f) + 1); }

std::int32_t HysteresisCodes(std::int32_t hystIndex) {
    // The dialog only offers 0..5; a hand-edited file may hold anything.
    if (hystIndex < 0 || hystIndex >= static_cast<std::int32_t>(kHysteresis.size())) return 0;
    return kHysteresis[static_cast<std::size_t>(hystIndex)];
}

std::string ModelName(std::int32_t deviceTypeCode) {
    switch (deviceTypeCode) {
        case 28: return "QX4001A";
        case 25: return "QX4002";
        case 31: return "QX4003";
        default: break;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(deviceTypeCode) & 0xFFFFu);
    return std::string("QX40xx Type = ") + hex;
}

}  // namespace qx40
