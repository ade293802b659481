#include "device/apply_operations.h"

#include "device/build_device_settings.h"

namespace qx40 {
namespace {

void Build(ScopeModel& m, RecordLevels& background, SharedLink& link) {
    BuildDeviceSettings(m, link.flags.RunFlag.load(), link.flags.SingleFlag.load(), background);
    link.mailbox.Publish(m.registers);
}

}  // namespace

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

}  // namespace qx40
