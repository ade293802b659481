// The two ways every control change ends: ApplyAndRestart when the
// instrument must see the change, ApplySettings when only the view does.
#pragma once

#include "scope/record_levels.h"
#include "scope/scope_model.h"
#include "device/shared_link.h"

namespace qx40 {

void ApplySettings(ScopeModel& m, RecordLevels& background, SharedLink& link);
void ApplyAndRestart(ScopeModel& m, RecordLevels& background, SharedLink& link);

// The values of the last apply that the decoder needs.
DecodeContext MakeDecodeContext(const ScopeModel& m);

}  // namespace qx40
