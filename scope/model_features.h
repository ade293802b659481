// What a device model without some feature cannot keep in the state: the
// settings of a second channel it lacks, the generator, deep memory.
#pragma once

#include "scope/scope_state.h"

namespace qx40 {

// Moves every setting the model of state.System.Device_Type_Code cannot
// carry to one it can (the window hides the matching controls).
void ApplyModelFeatures(ScopeState& state);

}  // namespace qx40
