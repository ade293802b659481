#include "scope/build_device_settings.h"

#include <gtest/gtest.h>

#include "device/apply_operations.h"

namespace qx40 {
namespace {

class BuildDeviceSettingsTest : public testing::Test {
protected:
    void Build(bool run = false, bool single = false) { BuildDeviceSettings(m, run, single, background); }
    std::uint64_t Reg(std::size_t at, std::size_t bytes = 1) const {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < bytes; ++i) v |= std::uint64_t{m.registers.reg[at + i]} << (8 * i);
        return v;
    }

    ScopeModel m;
    RecordLevels background;
};

TEST_F(BuildDeviceSettingsTest, DefaultStateRegisterMap) {
    Build();
    EXPECT_EQ(Reg(0), 0u);
    EXPECT_EQ(Reg(reg::kTrigFlags), 0u);
    EXPECT_EQ(Reg(reg::kChanMode), kModeA2 | kModeD2);
    EXPECT_EQ(Reg(3), 4u);
    EXPECT_EQ(Reg(reg::kSampleDivider, 4), 200u);
    EXPECT_EQ(Reg(reg::kPreTrigCount, 2), 500u);  // Pre 1 x 500
    EXPECT_EQ(Reg(reg::kPostTrigCount, 2), 4500u);
    EXPECT_EQ(Reg(reg::kA1Low), 189u);  // level 191, hysteresis index 1 = 2 codes
    EXPECT_EQ(Reg(reg::kA1High), 193u);
    EXPECT_EQ(Reg(reg::kA2Low), 61u);
    EXPECT_EQ(Reg(reg::kA2High), 65u);
    EXPECT_EQ(Reg(reg::kTriggerCount), 0u);  // no source
    EXPECT_EQ(Reg(reg::kLevelMask), 0u);
    EXPECT_EQ(Reg(reg::kChanEnable), 0x0Fu);
    EXPECT_EQ(Reg(reg::kRollFlags), 0u);
    EXPECT_EQ(Reg(reg::kFreqMeterSource), 1u);
    EXPECT_EQ(Reg(reg::kCmdSeq), 0u);
    EXPECT_EQ(Reg(reg::kGainCodeA1), 7u | 0x08u);  // 1 V range, generator off
    EXPECT_EQ(Reg(reg::kGainCodeA2), 7u);
    EXPECT_EQ(Reg(reg::kOffsetA1, 2), 2048u);  // uncalibrated
    EXPECT_EQ(Reg(reg::kOffsetA2, 2), 2048u);
    EXPECT_EQ(Reg(reg::kFrameInterval), 40u);
    EXPECT_EQ(Reg(reg::kGenMode), 0u);  // output off
    EXPECT_EQ(Reg(reg::kGenShape), 5u);
    EXPECT_EQ(Reg(reg::kGenAmplitude, 2), 4001u);
    EXPECT_EQ(Reg(reg::kZeroA1), 191u);
    EXPECT_EQ(Reg(reg::kZeroA2), 63u);
    for (std::size_t unused : {30u, 47u, 49u, 68u, 77u, 95u, 120u, 127u}) EXPECT_EQ(Reg(unused), 0u) << unused;
    EXPECT_EQ(m.derived.VoltsDivA1, 1000000);
    EXPECT_EQ(m.derived.MarkerMode, 2);
    EXPECT_EQ(m.derived.DrawMode, 2);
}

TEST_F(BuildDeviceSettingsTest, PreTriggerDivisions) {
    m.state.Trigger.Pre = 3;  // at 1 ms/div, 5000 samples, 10 divisions
    Build();
    EXPECT_EQ(m.derived.PreTrigCount, 1500);
    EXPECT_EQ(m.derived.PostTrigCount, 3500);
    EXPECT_EQ(Reg(reg::kPreTrigCount, 2), 1500u);
    EXPECT_EQ(Reg(reg::kPostTrigCount, 2), 3500u);
}

TEST_F(BuildDeviceSettingsTest, TriggerSourceEdgeAutoAndCount) {
    struct Case {
        TriggerSource source;
        std::uint8_t flags;
    };
    for (const Case c : {Case{TriggerSource::CH_A1, 0}, Case{TriggerSource::CH_A2, kTrigSecondChannel},
                         Case{TriggerSource::CH_D1, kTrigDigitalSource},
                         Case{TriggerSource::CH_D2, kTrigDigitalSource | kTrigSecondChannel}}) {
        m.state.Trigger.Source = c.source;
        m.state.Trigger.Edge = true;
        m.state.Trigger.Auto = true;
        m.state.Trigger.N = 7;
        Build();
        EXPECT_EQ(Reg(reg::kTrigFlags), c.flags | kTrigFalling | kTrigAuto);
        EXPECT_EQ(Reg(reg::kTriggerCount), 7u);
    }
}

TEST_F(BuildDeviceSettingsTest, RollAtSlowTimebaseWithoutSource) {
    m.state.Scope.TimebaseIndex = TimebaseIndex::T100mS;
    m.state.Trigger.N = 5;
    Build(true, false);
    EXPECT_TRUE(m.derived.RollActive);
    EXPECT_EQ(Reg(reg::kTrigFlags) & kTrigRoll, kTrigRoll);
    EXPECT_EQ(Reg(reg::kRollFlags), 3u);
    EXPECT_EQ(Reg(reg::kPreTrigCount, 2), 0u);
    EXPECT_EQ(Reg(reg::kTriggerCount), 0u);
    EXPECT_TRUE(m.panel.LentaEnabled);

    // A single shot rolls without the roll bit.
    m.state.View.Run = RunButton::Single;
    Build(true, true);
    EXPECT_EQ(Reg(reg::kTrigFlags) & kTrigRoll, 0u);
    EXPECT_EQ(Reg(reg::kRollFlags), 3u);

    m.state.Trigger.Source = TriggerSource::CH_A1;
    Build(true, true);
    EXPECT_FALSE(m.derived.RollActive);
    EXPECT_EQ(Reg(reg::kRollFlags), 0u);
    EXPECT_EQ(Reg(reg::kTriggerCount), 5u);
    EXPECT_FALSE(m.panel.LentaEnabled);
}

TEST_F(BuildDeviceSettingsTest, RollDisplayReleasesSweep) {
    m.state.Scope.TimebaseIndex = TimebaseIndex::T1S;
    m.state.Generator.Mode = GenMode::F_Sweep;
    Build();
    EXPECT_TRUE(m.panel.SweepEnabled);
    EXPECT_EQ(m.state.Generator.Mode, GenMode::F_Sweep);
    m.state.Common.Lenta = true;
    Build();
    EXPECT_FALSE(m.panel.SweepEnabled);
    EXPECT_EQ(m.state.Generator.Mode, GenMode::Plain);
}

TEST_F(BuildDeviceSettingsTest, ChannelEnableAndMode) {
    struct Case {
        bool a1, a2, d1, d2;
        std::uint8_t enable, mode;
    };
    const Case cases[] = {
        {true, true, true, true, 0x0F, kModeA2 | kModeD2},
        {true, false, true, false, 0x0F, kModeSingleChannel},  // both bits of each kind
        {false, true, false, false, 0x03, kModeSingleChannel | kModeA2},
        {false, false, false, true, 0x0C, kModeSingleChannel | kModeD2},
        {true, false, true, true, 0x0D, kModeD2},
        {false, false, false, false, 0x00, kModeSingleChannel},
    };
    for (const Case& c : cases) {
        m.state.Common.CH_A1 = c.a1;
        m.state.Common.CH_A2 = c.a2;
        m.state.Common.CH_D1 = c.d1;
        m.state.Common.CH_D2 = c.d2;
        Build(true, false);
        EXPECT_EQ(Reg(reg::kChanEnable), c.enable | kEnableRun) << c.a1 << c.a2 << c.d1 << c.d2;
        EXPECT_EQ(Reg(reg::kChanMode), c.mode) << c.a1 << c.a2 << c.d1 << c.d2;
    }
}

TEST_F(BuildDeviceSettingsTest, RunBitFollowsEitherFlag) {
    Build(false, true);
    EXPECT_EQ(Reg(reg::kChanEnable) & kEnableRun, kEnableRun);
    Build(false, false);
    EXPECT_EQ(Reg(reg::kChanEnable) & kEnableRun, 0u);
}

TEST_F(BuildDeviceSettingsTest, GainCodeBits) {
    m.state.Scope.A1 = VoltsDiv::mV50;
    m.state.Scope.A2 = VoltsDiv::V2;
    m.state.Scope.A1_ACDC = true;
    m.state.Scope.A2_ACDC = true;
    m.state.Generator.GenOn = true;
    m.state.FFT.Dither = true;
    m.state.FFT.View_A2 = true;
    Build();
    EXPECT_EQ(Reg(reg::kGainCodeA1), 0x10u);  // range 0, AC; dither only with the A1 spectrum
    EXPECT_EQ(Reg(reg::kGainCodeA2), 0x33u);  // range 3, AC, dither
}

TEST_F(BuildDeviceSettingsTest, OffsetsUseTheRangeWithoutProbe) {
    m.state.Calibrate = {0, 2000, 3680, 80, 2000, 3680, 0};
    m.state.Scope.A1 = VoltsDiv::mV100;
    m.state.Common.ProbeA1 = Probe::x100;
    Build();
    EXPECT_EQ(Reg(reg::kOffsetA1, 2), 2376u);
    EXPECT_EQ(Reg(reg::kOffsetA2, 2), 2416u - 16u * (191 - 63));  // zero 63: 1008 - 2000 + 1360
    EXPECT_EQ(m.derived.VoltsDivA1, 10000000);
}

TEST_F(BuildDeviceSettingsTest, VoltsDivChangeKeepsLevelVoltage) {
    m.state.Trigger.Lev_A1 = 223;
    background.Lev_A1 = 150;
    background.A1_Zero = 100;
    Build();
    m.state.Scope.A1 = VoltsDiv::V05;
    m.state.VoltsDivChangedA1 = true;
    Build();
    EXPECT_DOUBLE_EQ(m.state.Trigger.Lev_A1, 255);
    EXPECT_DOUBLE_EQ(background.Lev_A1, 200);
    EXPECT_FALSE(m.state.VoltsDivChangedA1);
    EXPECT_EQ(Reg(reg::kA1Low), 253u);
    EXPECT_EQ(Reg(reg::kA1High), 255u);

    // The probe counts too.
    m.state.Common.ProbeA1 = Probe::x10;
    m.state.VoltsDivChangedA1 = true;
    Build();
    EXPECT_DOUBLE_EQ(m.state.Trigger.Lev_A1, 191 + 64 / 10.0);
    // Without the flag the level stays in codes.
    m.state.Common.ProbeA1 = Probe::x1;
    Build();
    EXPECT_DOUBLE_EQ(m.state.Trigger.Lev_A1, 191 + 64 / 10.0);
}

TEST_F(BuildDeviceSettingsTest, TPlusRegistersKeepTheirLastValues) {
    TriggerSection& t = m.state.Trigger;
    t.TPLUS = true;
    t.PTmin = 12;
    t.PTmax = 345;
    t.PTmult = 100;
    t.PTMode = 1;
    t.Slew = 77;
    t.Slew_Mode = 2;
    t.Levels = 0b0101;
    t.Lev_Mask = 0b0111;
    Build();
    EXPECT_EQ(Reg(reg::kPulseMin, 4), 1200u);
    EXPECT_EQ(Reg(reg::kPulseMax, 4), 34500u);
    EXPECT_EQ(Reg(reg::kSlew), 77u);
    EXPECT_EQ(Reg(reg::kLevelMask), 0x75u);
    EXPECT_EQ(Reg(reg::kChanMode) & 0x78, 0x18u | 0x20u);

    t.TPLUS = false;
    t.PTmin = 1;
    t.Slew = 3;
    Build();
    EXPECT_EQ(Reg(reg::kPulseMin, 4), 1200u);
    EXPECT_EQ(Reg(reg::kPulseMax, 4), 34500u);
    EXPECT_EQ(Reg(reg::kSlew), 77u);
    EXPECT_EQ(Reg(reg::kLevelMask), 0u);
    EXPECT_EQ(Reg(reg::kChanMode) & 0x78, 0u);
}

TEST_F(BuildDeviceSettingsTest, CaptionsFollowProbeModelAndLanguage) {
    m.state.Common.ProbeA1 = Probe::x10;
    m.state.Common.ProbeA2 = Probe::x100;
    m.state.Common.Russian = false;
    Build();
    EXPECT_EQ(m.panel.VoltsCaptionsA1[IndexOf(VoltsDiv::V05)], "5V");
    EXPECT_EQ(m.panel.VoltsCaptionsA2[IndexOf(VoltsDiv::mV50)], "5V");
    EXPECT_EQ(m.panel.VoltsDivCaptionA1, "     A1 V/Div (x10)");
    EXPECT_EQ(m.panel.VoltsDivCaptionA2, "     A2 V/Div (x100)");

    m.state.Common.ProbeA1 = Probe::x1;
    m.state.Common.Russian = true;
    m.state.System.Device_Type_Code = 28;
    Build();
    EXPECT_EQ(m.panel.VoltsCaptionsA1[IndexOf(VoltsDiv::V05)], "0.5V");
    EXPECT_EQ(m.panel.VoltsDivCaptionA1, "      A Вольт/Дел ");
    EXPECT_EQ(m.panel.VoltsDivCaptionA2, "     A2 В/Дел (x100)");
}

TEST(ApplyOperations, RestartMarksTheSettingsForSending) {
    ScopeModel m;
    RecordLevels background;
    SharedLink link;
    m.state.View.Run = RunButton::Single;
    m.state.Scope.TimebaseIndex = TimebaseIndex::T2mS;
    ApplyAndRestart(m, background, link);
    EXPECT_TRUE(link.flags.RunFlag);
    EXPECT_TRUE(link.flags.SingleFlag);
    EXPECT_TRUE(link.flags.SettingsDirty);
    EXPECT_TRUE(link.flags.SettingsChanged);
    EXPECT_TRUE(link.flags.RedrawRequest);
    EXPECT_TRUE(link.AcquisitionWakeEvent.IsSet());
    EXPECT_EQ(link.mailbox.Take().registers, m.registers);
    EXPECT_EQ(link.mailbox.Take().registers.reg[reg::kChanEnable] & kEnableRun, kEnableRun);
    EXPECT_EQ(link.mailbox.Take().decode, MakeDecodeContext(m));
}

TEST(ApplyOperations, ViewChangeDoesNotResend) {
    ScopeModel m;
    RecordLevels background;
    SharedLink link;
    m.state.View.Run = RunButton::Run;  // pressed, but only the view is applied
    m.state.Common.Grid = false;
    ApplySettings(m, background, link);
    EXPECT_FALSE(link.flags.SettingsDirty);
    EXPECT_FALSE(link.flags.RunFlag);
    EXPECT_TRUE(link.flags.RedrawRequest);
    EXPECT_TRUE(link.AcquisitionWakeEvent.IsSet());
    EXPECT_EQ(link.mailbox.Take().registers, m.registers);
}

}  // namespace
}  // namespace qx40
