#include "scope/derived_quantities.h"

#include <gtest/gtest.h>

#include "scope/value_tables.h"

namespace qx40 {
namespace {

struct GeometryCase {
    const char* name;
    TimebaseIndex timebase;
    SampleCountChoice samples;
    SignalLength length;
    bool peakDetect;
    bool twoAnalog;  // A1 and A2 both shown (D1 and D2 follow)
    std::int32_t sampleCount, divisions, divider, samplesPerDiv;
};

void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.name; }

class SampleGeometry : public testing::TestWithParam<GeometryCase> {};

TEST_P(SampleGeometry, FollowsTheTables) {
    const GeometryCase& c = GetParam();
    ScopeState s;
    s.Scope.TimebaseIndex = c.timebase;
    s.Common.SampleCount = c.samples;
    s.Common.SignalLength = c.length;
    s.Common.SmplPeakDet = c.peakDetect;
    s.Common.CH_A2 = c.twoAnalog;
    s.Common.CH_D2 = c.twoAnalog;
    DerivedQuantities d;
    d.TimePerDivNs = TimePerDivNsOf(c.timebase);
    ComputeSampleGeometry(s, d);
    EXPECT_EQ(d.SingleChannelMode, !c.twoAnalog);
    EXPECT_EQ(d.SampleCount, c.sampleCount);
    EXPECT_EQ(d.Divisions, c.divisions);
    EXPECT_EQ(d.SampleDivider, c.divider);
    EXPECT_EQ(d.SamplesPerDiv, c.samplesPerDiv);
}

using enum TimebaseIndex;
using enum SampleCountChoice;
using enum SignalLength;

INSTANTIATE_TEST_SUITE_P(
    Cases, SampleGeometry,
    testing::Values(
        // P = 500, I = 20000
        GeometryCase{"OneMsPerDiv", T1mS, Smpl_N_5000, Sig_10_Div, false, true, 5000, 10, 200, 500},
        // I = 250 at 5 us/div gives 4, at 500 ns/div 5
        GeometryCase{"Interval250", T5uS, Smpl_N_2000, Sig_10_Div, false, true, 2000, 10, 4, 125},
        GeometryCase{"Interval250At500ns", T05uS, Smpl_N_2000, Sig_100_Div, false, true, 2000, 100, 5, 10},
        GeometryCase{"Interval125", T05uS, Smpl_N_2000, Sig_50_Div, false, true, 2000, 50, 2, 25},
        GeometryCase{"Interval1250", T5uS, Smpl_N_2000, Sig_50_Div, false, true, 2000, 50, 20, 25},
        // I = 2: divider 0 becomes 1
        GeometryCase{"FiftyNs", T50nS, Smpl_N_2000, Sig_10_Div, false, true, 2000, 10, 1, 5},
        GeometryCase{"DeepTwoChannels", T1mS, Smpl_N_20000, Sig_10_Div, false, true, 10000, 10, 100, 1000},
        GeometryCase{"DeepOneChannel", T1mS, Smpl_N_20000, Sig_10_Div, false, false, 20000, 10, 50, 2000},
        // peak detect halves the points and doubles samples per division
        GeometryCase{"PeakDetect", T1mS, Smpl_N_5000, Sig_10_Div, true, true, 5000, 10, 400, 500},
        GeometryCase{"PeakDetect250Divisions", T1mS, Smpl_N_5000, Sig_200_Div, true, true, 5000, 250, 10000, 20},
        GeometryCase{"PeakDetect2000Stays200", T1mS, Smpl_N_2000, Sig_200_Div, true, true, 2000, 200, 20000, 10},
        // no doubling at divider 1
        GeometryCase{"PeakDetectDividerOne", T50nS, Smpl_N_2000, Sig_10_Div, true, true, 2000, 10, 1, 5},
        GeometryCase{"SlowestTimebase", T20S, Smpl_N_2000, Sig_200_Div, false, true, 2000, 200, 200000000, 10}),
    [](const testing::TestParamInfo<GeometryCase>& info) { return info.param.name; });

TEST(SampleGeometry, SingleChannelModeNeedsOneOfEachKind) {
    ScopeState s;
    DerivedQuantities d;
    s.Common.CH_A2 = false;  // A1, D1, D2: the digital pair breaks it
    ComputeSampleGeometry(s, d);
    EXPECT_FALSE(d.SingleChannelMode);
    s.Common.CH_D1 = false;
    ComputeSampleGeometry(s, d);
    EXPECT_TRUE(d.SingleChannelMode);
}

TEST(RollActive, SlowTimebaseWithoutTriggerSource) {
    ScopeState s;
    s.Scope.TimebaseIndex = TimebaseIndex::T100mS;
    EXPECT_TRUE(IsRollActive(s));
    s.Trigger.Source = TriggerSource::CH_D2;
    EXPECT_FALSE(IsRollActive(s));
    s.Trigger.Source = TriggerSource::None;
    s.Scope.TimebaseIndex = TimebaseIndex::T50mS;
    EXPECT_FALSE(IsRollActive(s));
    s.Scope.TimebaseIndex = TimebaseIndex::T20S;
    EXPECT_TRUE(IsRollActive(s));
}

TEST(RescaleLevel, KeepsTheVoltage) {
    EXPECT_DOUBLE_EQ(RescaleLevel(223, 191, 1000000, 500000), 255);
    EXPECT_DOUBLE_EQ(RescaleLevel(255, 191, 500000, 1000000), 223);
    EXPECT_DOUBLE_EQ(RescaleLevel(100.5, 100, 50000, 5000000), 100.005);
    // Before the first apply the old range is unknown: nothing moves.
    EXPECT_DOUBLE_EQ(RescaleLevel(223, 191, 0, 500000), 223);
}

TEST(ValueTables, ModelNames) {
    EXPECT_EQ(ModelName(28), "QX4001A");
    EXPECT_EQ(ModelName(25), "QX4002");
    EXPECT_EQ(ModelName(31), "QX4003");
    EXPECT_EQ(ModelName(0x1A), "QX40xx Type = 001A");
    EXPECT_EQ(ModelName(0xBEEF), "QX40xx Type = BEEF");
}

TEST(ValueTables, TimebaseNeedsSixtyFourBits) {
    EXPECT_EQ(TimePerDivNsOf(TimebaseIndex::T20S), 20000000000);
    EXPECT_EQ(TimePerDivNsOf(TimebaseIndex::T50nS), 50);
    EXPECT_EQ(kTimebaseKeys[IndexOf(TimebaseIndex::T05mS)], "05mS");
}

}  // namespace
}  // namespace qx40
