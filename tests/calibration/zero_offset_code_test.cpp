#include "calibration/zero_offset_code.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

struct OffsetCase {
    const char* name;
    CalibrateSection cal;
    std::int32_t zero;
    int channel;
    std::int32_t microVolts;
    std::int32_t code;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }

class ZeroOffset : public testing::TestWithParam<OffsetCase> {};

TEST_P(ZeroOffset, Code) {
    const OffsetCase& c = GetParam();
    EXPECT_EQ(ZeroOffsetCode(c.zero, c.channel, c.microVolts, c.cal), c.code);
}

constexpr CalibrateSection kLinear{0, 2000, 3680, 0, 2000, 3680, 0};
constexpr CalibrateSection kShifted{0, 2000, 3680, 80, 1000, 2000, 3};

INSTANTIATE_TEST_SUITE_P(
    Cases, ZeroOffset,
    testing::Values(
        OffsetCase{"Linear2V", kLinear, 191, 1, 2000000, 2416},
        OffsetCase{"Linear50mV", kLinear, 191, 1, 50000, 2416},  // no shift: any range
        OffsetCase{"Shift100mV", kShifted, 191, 1, 100000, 2376},
        OffsetCase{"Shift2V", kShifted, 191, 1, 2000000, 2414},  // 80 x 0.025 = 2 sixteenths
        OffsetCase{"ChannelTwo", kShifted, 63, 2, 50000, 1368},  // (1008 - 1000 - 3) x 1.68 + 1360 = 1368.4
        OffsetCase{"Uncalibrated", CalibrateSection{}, 191, 1, 1000000, 2048},
        OffsetCase{"UnknownChannel", kLinear, 191, 3, 1000000, 2048},
        OffsetCase{"HalfRoundsUp", CalibrateSection{0, 1, 3361, 0, 0, 0, 0}, 1, 1, 1000000, 1368},  // 1367.5
        // The offset register has 12 bits: a code just below 0 (-0.5) or a
        // hand-edited shift far beyond the DAC's range stays within 0..4095.
        OffsetCase{"JustBelowRangeIsZero", {0, 2721, 6081, 0, 0, 0, 0}, 0, 1, 1000000, 0},
        OffsetCase{"HugeShiftClampsHigh", {0, 3357, 725, 5000, 0, 0, 0}, 191, 1, 50000, 4095},
        OffsetCase{"HugeNegativeShiftClampsLow", {0, 3357, 725, -5000, 0, 0, 0}, 191, 1, 50000, 0},
        OffsetCase{"ZeroFarAboveTheScreen", {0, 0, 16, 0, 0, 0, 0}, 100000, 1, 1000000, 4095},
        OffsetCase{"NearTopOfRangeKept", {0, 0, 1680, 0, 0, 0, 0}, 170, 1, 1000000, 4080}),
    [](const testing::TestParamInfo<OffsetCase>& info) { return info.param.name; });

}  // namespace
}  // namespace qx40
