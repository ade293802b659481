// The keyboard of the main window: the arrow keys step the time base and the
// volts/div of A1 (A2 with Shift), F cycles the spectrum views, Space and
// Enter work the RUN and SINGLE buttons. The window maps its key events to
// Key and carries out the returned action.
#pragma once

#include <cstdint>

#include "scope/scope_state.h"

namespace qx40 {

enum class Key : std::uint8_t { Other, F, Space, Enter, Left, Right, Up, Down };

enum class KeyAction : std::uint8_t {
    None,
    ApplyAndRestart,
    // Run the click handler of that menu item or button, as a click would.
    ClickMenu_FFT_A1,
    ClickMenu_FFT_A2,
    ClickSpeedButton_Run,
    ClickSpeedButton_Sngl,
};

// The spectrum menu items as the window shows them.
struct SpectrumItemsEnabled {
    bool A1 = false;
    bool A2 = false;
};

// Left/Right: time base one step slower/faster. Up/Down: volts/div one step
// larger/smaller, of A2 with shift. A step beyond the end of its row changes
// nothing, and every step asks for ApplyAndRestart. A volts/div step marks the
// range as changed, as a click on a volts/div button does, so that the apply
// keeps the trigger levels' voltage.
KeyAction KeyDown(ScopeState& state, Key key, bool shift, SpectrumItemsEnabled spectrum);

}  // namespace qx40
