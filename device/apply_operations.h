// The two ways every control change ends: ApplyAndRestart when the
// instrument must see the change, ApplySettings when only the view does.
#pragma once

#include "device/record_levels.h"
#include "device/scope_model.h"
#include "device/shared_link.h"

namespace qx40 {

void ApplySettings(ScopeModel& m, RecordLevels& background, SharedLink& link);
void ApplyAndRestart(ScopeModel& m, RecordLevels& background, SharedLink& link);

}  // namespace qx40
