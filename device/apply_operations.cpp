#include "device/apply_operations.h"

#include "scope/build_device_settings.h"
#include "generator/generator_words.h"

namespace qx40 {
namespace {

void Build(ScopeModel& m, RecordLevels& background, SharedLink& link) {
    BuildDeviceSettings(m, link.flags.RunFlag.load(), link.flags.SingleFlag.load(), background);
    link.mailbox.Publish(m.registers, MakeDecodeContext(m));
}

}  // namespace

DecodeContext MakeDecodeContext(const ScopeModel& m) {
    const ScopeState& s = m.state;
    const DerivedQuantities& d = m.derived;
    const DeviceSettings& r = m.registers;
    const GeneratorBase gen = ComputeGeneratorBase(s.Generator);
    DecodeContext c;
    c.SampleCount = d.SampleCount;
    c.SampleDivider = d.SampleDivider;
    c.SingleChannelMode = d.SingleChannelMode;
    c.VoltsDivA1 = d.VoltsDivA1;
    c.VoltsDivA2 = d.VoltsDivA2;
    c.A1_Zero = s.Scope.A1_Zero;
    c.A2_Zero = s.Scope.A2_Zero;
    c.Lev_A1 = s.Trigger.Lev_A1;
    c.Lev_A2 = s.Trigger.Lev_A2;
    c.Lenta = d.Lenta;
    c.PreTrigCount = d.PreTrigCount;
    c.TriggerCount = d.TriggerCount;
    c.LowA1 = r.reg[reg::kA1Low];
    c.HighA1 = r.reg[reg::kA1High];
    c.LowA2 = r.reg[reg::kA2Low];
    c.HighA2 = r.reg[reg::kA2High];
    c.Time = s.Calibrate.Time;
    c.GenSpan = static_cast<std::int32_t>(gen.D);
    c.GenFreq = static_cast<std::int32_t>(s.Generator.Mode == GenMode::F_Sweep ? gen.S : gen.F);
    return c;
}

void ApplySettings(ScopeModel& m, RecordLevels& background, SharedLink& link) {
    Build(m, background, link);
    link.flags.RedrawRequest = true;
    link.AcquisitionWakeEvent.Set();
}

void ApplyAndRestart(ScopeModel& m, RecordLevels& background, SharedLink& link) {
    link.flags.RunFlag = m.state.View.Run != RunButton::None;
    link.flags.SingleFlag = m.state.View.Run == RunButton::Single;
    Build(m, background, link);
    link.flags.RedrawRequest = true;
    link.flags.SettingsChanged = true;
    link.flags.NewFrameData = true;
    // Last, so that the sender finds the image above.
    link.flags.SettingsDirty = true;
    link.AcquisitionWakeEvent.Set();
}

void SendRegisters(const ScopeModel& m, SharedLink& link) {
    link.flags.RunFlag = true;
    link.flags.SingleFlag = false;
    link.mailbox.Publish(m.registers, MakeDecodeContext(m));
    link.flags.RedrawRequest = true;
    link.flags.SettingsChanged = true;
    link.flags.NewFrameData = true;
    link.flags.SettingsDirty = true;
    link.AcquisitionWakeEvent.Set();
}

}  // namespace qx40
