// The two ways every control change ends: ApplyAndRestart when the
// instrument must see the change, ApplySettings when only the view does.
#pragma once

#include "scope/record_levels.h"
#include "scope/scope_model.h"
#include "device/shared_link.h"

namespace qx40 {

void ApplySettings(ScopeModel& m, RecordLevels& background, SharedLink& link);
void ApplyAndRestart(ScopeModel& m, RecordLevels& background, SharedLink& link);
// Sends m.registers as they stand, running, decoded after m.derived: for a
// procedure that programs the acquisition itself. The state's own settings
// return with the next ApplyAndRestart.
void SendRegisters(const ScopeModel& m, SharedLink& link);

// The values of the last apply that the decoder needs.
DecodeContext MakeDecodeContext(const ScopeModel& m);

}  // namespace qx40
