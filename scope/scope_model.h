// What the main thread keeps about the scope: the user's settings, what the
// last apply derived from them, the register image it built and the control
// states it decided.
#pragma once

#include "scope/derived_quantities.h"
#include "device/device_settings.h"
#include "scope/panel_view.h"
#include "scope/scope_state.h"

namespace qx40 {

struct ScopeModel {
    ScopeState state;
    DerivedQuantities derived;
    DeviceSettings registers;  // CmdSeq (register 69) is the sender's
    PanelView panel;
};

}  // namespace qx40
