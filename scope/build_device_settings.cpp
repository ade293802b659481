#include "scope/build_device_settings.h"

#include "calibration/zero_offset_code.h"
#include "scope/value_tables.h"
#include "generator/generator_words.h"
#include "trigger/trigger_registers.h"

namespace qx40 {
namespace {

std::string VoltsDivButtonCaption(std::string_view label, Probe p, bool russian) {
    std::string caption(label);
    if (p == Probe::x1) return caption + (russian ? " Вольт/Дел " : " Volts/Div ");
    caption += russian ? " В/Дел " : " V/Div ";
    return caption + (p == Probe::x10 ? "(x10)" : "(x100)");
}

void FillCaptions(std::array<std::string_view, 6>& captions, Probe p) {
    for (std::size_t i = 0; i < captions.size(); ++i)
        captions[i] = VoltsDivCaption(static_cast<VoltsDiv>(i), p);
}

std::uint8_t ChannelEnableBits(const CommonSection& c, bool singleChannelMode) {
    std::uint8_t bits = 0;
    if (singleChannelMode) {
        if (c.CH_A1 || c.CH_A2) bits |= 0x03;
        if (c.CH_D1 || c.CH_D2) bits |= 0x0C;
        return bits;
    }
    if (c.CH_A1) bits |= 0x01;
    if (c.CH_A2) bits |= 0x02;
    if (c.CH_D1) bits |= 0x04;
    if (c.CH_D2) bits |= 0x08;
    return bits;
}

std::uint8_t GainCode(VoltsDiv v, bool ac, bool spectrumDither) {
    std::uint8_t code = RangeCodeOf(v);
    if (ac) code |= 0x10;
    if (spectrumDither) code |= 0x20;
    return code;
}

}  // namespace

void BuildDeviceSettings(ScopeModel& m, bool runFlag, bool singleFlag, RecordLevels& background) {
    ScopeState& s = m.state;
    DerivedQuantities& d = m.derived;
    DeviceSettings& r = m.registers;
    PanelView& view = m.panel;
    const bool singleDown = s.View.Run == RunButton::Single;

    // 1. Window style, marker mode, time base.
    view.StayOnTop = s.Common.On_Top;
    d.MarkerMode = s.Common.Markers_2 ? 2 : (s.Common.Markers_1 ? 1 : 0);
    d.TimePerDivNs = TimePerDivNsOf(s.Scope.TimebaseIndex);

    // 2.-3. Channels and sample geometry.
    ComputeSampleGeometry(s, d);
    std::uint8_t chanMode = 0;
    if (d.SingleChannelMode) chanMode |= kModeSingleChannel;
    if (s.Common.CH_A2) chanMode |= kModeA2;
    if (s.Common.CH_D2) chanMode |= kModeD2;
    std::uint8_t chanEnable = ChannelEnableBits(s.Common, d.SingleChannelMode);
    if (runFlag || singleFlag) chanEnable |= kEnableRun;

    // 4. Gain codes and offsets from the range without the probe.
    d.BaseMicroVoltsA1 = BaseMicroVoltsOf(s.Scope.A1);
    d.BaseMicroVoltsA2 = BaseMicroVoltsOf(s.Scope.A2);
    std::uint8_t gainA1 = GainCode(s.Scope.A1, s.Scope.A1_ACDC, s.FFT.Dither && s.FFT.View_A1);
    if (!s.Generator.GenOn) gainA1 |= 0x08;
    const std::uint8_t gainA2 = GainCode(s.Scope.A2, s.Scope.A2_ACDC, s.FFT.Dither && s.FFT.View_A2);
    const std::int32_t offsetA1 = ZeroOffsetCode(s.Scope.A1_Zero, 1, d.BaseMicroVoltsA1, s.Calibrate);
    const std::int32_t offsetA2 = ZeroOffsetCode(s.Scope.A2_Zero, 2, d.BaseMicroVoltsA2, s.Calibrate);

    // 5. Captions with the probe factor, volts/div, and the level follow-up.
    FillCaptions(view.VoltsCaptionsA1, s.Common.ProbeA1);
    FillCaptions(view.VoltsCaptionsA2, s.Common.ProbeA2);
    const bool twoAnalog = HasFeature(s.System.Device_Type_Code, feature::kSecondAnalog);
    view.VoltsDivCaptionA1 =
        VoltsDivButtonCaption(twoAnalog ? "     A1" : "      A", s.Common.ProbeA1, s.Common.Russian);
    view.VoltsDivCaptionA2 = VoltsDivButtonCaption("     A2", s.Common.ProbeA2, s.Common.Russian);
    const std::int32_t newA1 = d.BaseMicroVoltsA1 * ProbeFactor(s.Common.ProbeA1);
    const std::int32_t newA2 = d.BaseMicroVoltsA2 * ProbeFactor(s.Common.ProbeA2);
    if (s.VoltsDivChangedA1) {
        s.VoltsDivChangedA1 = false;
        s.Trigger.Lev_A1 = RescaleLevel(s.Trigger.Lev_A1, s.Scope.A1_Zero, d.VoltsDivA1, newA1);
        background.Lev_A1 = RescaleLevel(background.Lev_A1, background.A1_Zero, d.VoltsDivA1, newA1);
    }
    if (s.VoltsDivChangedA2) {
        s.VoltsDivChangedA2 = false;
        s.Trigger.Lev_A2 = RescaleLevel(s.Trigger.Lev_A2, s.Scope.A2_Zero, d.VoltsDivA2, newA2);
        background.Lev_A2 = RescaleLevel(background.Lev_A2, background.A2_Zero, d.VoltsDivA2, newA2);
    }
    d.VoltsDivA1 = newA1;
    d.VoltsDivA2 = newA2;

    // 6. Frame rate and trigger flags.
    d.FrameIntervalMs = FrameIntervalMsOf(s.Common.FrameRate);
    std::uint8_t trigFlags = TriggerSourceFlags(s.Trigger);
    if (s.Common.SmplPeakDet && d.SampleDivider > 1) trigFlags |= kTrigPeakDetect;
    std::uint8_t rollFlags = 0;
    d.Lenta = s.Common.Lenta;

    // 7.-8. Roll or triggered record.
    d.RollActive = IsRollActive(s);
    if (d.RollActive) {
        if (!singleDown) trigFlags |= kTrigRoll;
        rollFlags = 3;
        d.PreTrigCount = 0;
        d.TriggerCount = 0;
    } else {
        d.PreTrigCount = s.Trigger.Pre * d.SamplesPerDiv;
        d.TriggerCount = s.Trigger.Source != TriggerSource::None ? s.Trigger.N : 0;
    }
    view.LentaEnabled = d.RollActive;
    view.SweepEnabled = !(d.RollActive && s.Common.Lenta);
    if (!view.SweepEnabled && s.Generator.Mode == GenMode::F_Sweep) s.Generator.Mode = GenMode::Plain;
    d.PostTrigCount = d.SampleCount - d.PreTrigCount;

    r.reg[0] = 0;
    r.reg[reg::kTrigFlags] = trigFlags;
    r.reg[reg::kChanMode] = chanMode;
    r.reg[reg::kFixed3] = 4;
    r.Put<4>(reg::kSampleDivider, static_cast<std::uint32_t>(d.SampleDivider));
    r.Put<2>(reg::kPreTrigCount, static_cast<std::uint32_t>(d.PreTrigCount));
    r.Put<2>(reg::kPostTrigCount, static_cast<std::uint32_t>(d.PostTrigCount));
    r.reg[19] = 0;
    r.reg[reg::kChanEnable] = chanEnable;
    r.reg[reg::kRollFlags] = rollFlags;

    // 9.-10. Thresholds, count and T+ conditions.
    PlaceTriggerRegisters(s.Trigger, d, r);

    // 11. Frequency meter, draw mode.
    r.reg[reg::kFreqMeterSource] = FreqMeterCode(s.Common.FreqMeter);
    d.DrawMode = static_cast<std::int32_t>(IndexOf(s.Common.DrawMode));

    r.reg[reg::kGainCodeA1] = gainA1;
    r.reg[reg::kGainCodeA2] = gainA2;
    r.Put<2>(reg::kOffsetA1, static_cast<std::uint32_t>(offsetA1));
    r.Put<2>(reg::kOffsetA2, static_cast<std::uint32_t>(offsetA2));
    r.reg[reg::kFrameInterval] = static_cast<std::uint8_t>(d.FrameIntervalMs);

    // 12. Generator panel rules and words; the zero lines.
    ApplyGeneratorPanelRules(s.Generator, s.ExtendedRange(), s.Common.Russian, view.Generator);
    PlaceGeneratorWords(s.Generator, d.PostTrigCount, r);
    r.reg[reg::kZeroA1] = static_cast<std::uint8_t>(s.Scope.A1_Zero);
    r.reg[reg::kZeroA2] = static_cast<std::uint8_t>(s.Scope.A2_Zero);
}

}  // namespace qx40
