// Turns the scope state into the register image, the derived quantities and
// the dependent control states.
#pragma once

#include "scope/record_levels.h"
#include "scope/scope_model.h"

namespace qx40 {

// runFlag: RUN or SINGLE in force; singleFlag: SINGLE in force. The
// background record's stored levels follow a volts/div change like the live
// ones. Writes every register except CmdSeq.
void BuildDeviceSettings(ScopeModel& m, bool runFlag, bool singleFlag, RecordLevels& background);

}  // namespace qx40
