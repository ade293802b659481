#include "scope/model_features.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

ScopeState Everything() {
    ScopeState s;
    s.Trigger.Source = TriggerSource::CH_A2;
    s.Trigger.Lev_Mask = 0xF;
    s.Common.FreqMeter = FreqMeterSource::FM_A2;
    s.Common.SampleCount = SampleCountChoice::Smpl_N_20000;
    s.FFT.View_A2 = true;
    s.Generator.GenOn = true;
    s.Generator.Mod_Src = 2;
    return s;
}

TEST(ModelFeatures, SingleChannelModelDropsEverySecondChannelSetting) {
    ScopeState s = Everything();
    s.System.Device_Type_Code = 28;  // no A2, no D2; generator, meter, deep memory
    ApplyModelFeatures(s);
    EXPECT_EQ(s.Trigger.Source, TriggerSource::None);
    EXPECT_EQ(s.Trigger.Lev_Mask, 0b0101);
    EXPECT_EQ(s.Common.FreqMeter, FreqMeterSource::FM_A1);
    EXPECT_FALSE(s.Common.CH_A2);
    EXPECT_FALSE(s.Common.CH_D2);
    EXPECT_FALSE(s.FFT.View_A2);
    EXPECT_EQ(s.Generator.Mod_Src, 0);
    EXPECT_TRUE(s.Generator.GenOn);
    EXPECT_EQ(s.Common.SampleCount, SampleCountChoice::Smpl_N_20000);
}

TEST(ModelFeatures, WithoutDeepMemoryTheDeepCountsFallTo5000) {
    for (const SampleCountChoice deep : {SampleCountChoice::Smpl_N_10000, SampleCountChoice::Smpl_N_20000}) {
        ScopeState s = Everything();
        s.Common.SampleCount = deep;
        s.System.Device_Type_Code = 15;
        ApplyModelFeatures(s);
        EXPECT_EQ(s.Common.SampleCount, SampleCountChoice::Smpl_N_5000);
    }
}

TEST(ModelFeatures, DigitalSecondChannelAndGenerator) {
    ScopeState s = Everything();
    s.Trigger.Source = TriggerSource::CH_D2;
    s.Common.FreqMeter = FreqMeterSource::FM_D2_HF;
    s.Generator.Mod_Src = 4;
    s.System.Device_Type_Code = 1 | 16;  // A2 and deep memory only
    ApplyModelFeatures(s);
    EXPECT_EQ(s.Trigger.Source, TriggerSource::None);
    EXPECT_EQ(s.Common.FreqMeter, FreqMeterSource::FM_D1_HF);
    EXPECT_EQ(s.Generator.Mod_Src, 0);
    EXPECT_FALSE(s.Generator.GenOn);
    EXPECT_TRUE(s.Common.CH_A2);
    EXPECT_EQ(s.Common.SampleCount, SampleCountChoice::Smpl_N_20000);
}

TEST(ModelFeatures, FullModelKeepsEverything) {
    ScopeState s = Everything();
    const ScopeState before = s;
    ApplyModelFeatures(s);  // 31
    EXPECT_EQ(s, before);
}

}  // namespace
}  // namespace qx40
