#include "scope/model_features.h"

namespace qx40 {

void ApplyModelFeatures(ScopeState& s) {
    const std::int32_t code = s.System.Device_Type_Code;
    CommonSection& c = s.Common;
    if (!HasFeature(code, feature::kSecondAnalog)) {
        if (s.Trigger.Source == TriggerSource::CH_A2) s.Trigger.Source = TriggerSource::None;
        if (c.FreqMeter == FreqMeterSource::FM_A2) c.FreqMeter = FreqMeterSource::FM_A1;
        c.CH_A2 = false;
        s.FFT.View_A2 = false;
        s.Trigger.Lev_Mask &= ~0x2;
        if (s.Generator.Mod_Src == 2) s.Generator.Mod_Src = 0;
    }
    if (!HasFeature(code, feature::kSecondDigital)) {
        if (s.Trigger.Source == TriggerSource::CH_D2) s.Trigger.Source = TriggerSource::None;
        if (c.FreqMeter == FreqMeterSource::FM_D2) c.FreqMeter = FreqMeterSource::FM_D1;
        if (c.FreqMeter == FreqMeterSource::FM_D2_HF) c.FreqMeter = FreqMeterSource::FM_D1_HF;
        c.CH_D2 = false;
        s.Trigger.Lev_Mask &= ~0x8;
        if (s.Generator.Mod_Src == 4) s.Generator.Mod_Src = 0;
    }
    if (!HasFeature(code, feature::kGenerator)) s.Generator.GenOn = false;
    if (!HasFeature(code, feature::kDeepMemory) && (c.SampleCount == SampleCountChoice::Smpl_N_10000 ||
                                                    c.SampleCount == SampleCountChoice::Smpl_N_20000))
        c.SampleCount = SampleCountChoice::Smpl_N_5000;
}

}  // namespace qx40
