#include "trigger/trigger_registers.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

struct ThresholdCase {
    double level;
    std::int32_t hyst;
    int low, high;
};

void PrintTo(const ThresholdCase& c, std::ostream* os) { *os << "level " << c.level << " hyst " << c.hyst; }

class Thresholds : public testing::TestWithParam<ThresholdCase> {};

TEST_P(Thresholds, WindowAroundTheRoundedLevel) {
    const ThresholdCase& c = GetParam();
    const TriggerThresholds t = ComputeThresholds(c.level, c.hyst);
    EXPECT_EQ(t.low, c.low);
    EXPECT_EQ(t.high, c.high);
}

INSTANTIATE_TEST_SUITE_P(Cases, Thresholds,
                         testing::Values(ThresholdCase{3.4, 3, 1, 11},      // 3 - 8 would go below 1
                                         ThresholdCase{250, 3, 242, 255},   // 250 + 8 stops at 255
                                         ThresholdCase{20.0, 5, 1, 52},
                                         ThresholdCase{240.0, 5, 208, 255},
                                         ThresholdCase{0.0, 0, 1, 0},       // low never 0, even above high
                                         ThresholdCase{127.5, 1, 126, 130},  // halves round up
                                         ThresholdCase{-0.5, 1, 1, 2},      // clamped to 0 first
                                         ThresholdCase{300.0, 2, 252, 255},
                                         ThresholdCase{100.0, 4, 84, 116},
                                         ThresholdCase{1e300, 1, 253, 255},
                                         ThresholdCase{100.0, 9, 100, 100}),  // unknown index: no window
                         [](const testing::TestParamInfo<ThresholdCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

TEST(TriggerSourceFlags, BitsPerSource) {
    TriggerSection t;
    EXPECT_EQ(TriggerSourceFlags(t), 0);
    t.Source = TriggerSource::CH_D2;
    t.Edge = true;
    EXPECT_EQ(TriggerSourceFlags(t), kTrigDigitalSource | kTrigSecondChannel | kTrigFalling);
    t.Source = TriggerSource::CH_A2;
    t.Edge = false;
    t.Auto = true;
    EXPECT_EQ(TriggerSourceFlags(t), kTrigSecondChannel | kTrigAuto);
}

TEST(TriggerRegisters, PulseAndSlewModeBits) {
    struct Case {
        std::int32_t ptMode, slewMode;
        std::uint8_t bits;
    };
    for (const Case c : {Case{0, 0, 0x00}, Case{1, 0, 0x18}, Case{2, 0, 0x08}, Case{0, 1, 0x60}, Case{0, 2, 0x20},
                         Case{1, 2, 0x38}}) {
        TriggerSection t;
        t.TPLUS = true;
        t.PTMode = c.ptMode;
        t.Slew_Mode = c.slewMode;
        DeviceSettings regs;
        regs.reg[reg::kChanMode] = kModeA2;
        PlaceTriggerRegisters(t, DerivedQuantities{}, regs);
        EXPECT_EQ(regs.reg[reg::kChanMode], kModeA2 | c.bits) << c.ptMode << " " << c.slewMode;
    }
}

TEST(TriggerRegisters, LargestPulseLimit) {
    TriggerSection t;
    t.TPLUS = true;
    t.PTmax = 1000;
    t.PTmult = 100000;  // 1 s in 10 ns ticks
    DeviceSettings regs;
    PlaceTriggerRegisters(t, DerivedQuantities{}, regs);
    EXPECT_EQ(regs.Get<4>(reg::kPulseMax), 100000000u);
}

}  // namespace
}  // namespace qx40
