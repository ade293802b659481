// What the pointer does on the waveform area: it drags the zero lines of the
// analog channels (and of the background record), the trigger levels and the
// marker lines, and a double click above or below the grid toggles the compact
// view or the generator strip. The window passes its mouse events here and
// carries out the returned action; no Qt type crosses this boundary.
#pragma once

#include <cstdint>

#include "scope/record_levels.h"
#include "scope/scope_state.h"
#include "screen/screen_geometry.h"

namespace qx40 {

// What a press grabbed, numbered 0..12 in this order.
enum class DragTarget : std::uint8_t {
    None = 0,
    Marker_x = 1,
    Marker_y = 2,
    Marker1_x = 3,
    Marker1_y = 4,
    Marker2_x = 5,
    Marker2_y = 6,
    Lev_A1 = 7,
    Lev_A2 = 8,
    A1_Zero = 9,
    A2_Zero = 10,
    BackgroundA1Zero = 11,
    BackgroundA2Zero = 12,
};

// Mouse buttons of one event. Any other button is simply left out.
struct PointerButtons {
    bool Left = false;
    bool Right = false;
};

// What the window does after an event.
enum class PointerAction : std::uint8_t {
    None,
    ApplySettings,
    ApplyAndRestart,
    // View.Compact or Common.Generator may have flipped: ArrangePanels with
    // both, RecalcScreenGeometry, then ApplySettings.
    ArrangePanels,
};

// What an event works on: the window's own state, the background record's
// zeros and levels, and the geometry of the screen as it is now.
struct PointerScene {
    ScopeState& state;
    RecordLevels& background;
    const ScreenGeometry& geometry;
    bool backgroundHasData = false;  // the background FrameInfo's ring length is non-zero
};

class PointerController {
public:
    // x, y in the paint area; buttons: every button down, the pressed one
    // included. Grabs the handle nearest to the pointer in the strip or grid
    // column that was hit and moves it there at once.
    PointerAction Press(const PointerScene& scene, std::int32_t x, std::int32_t y, PointerButtons buttons);
    // buttons: the buttons held. Moves the grabbed handle, kept on the grid.
    PointerAction Move(const PointerScene& scene, std::int32_t x, std::int32_t y, PointerButtons buttons);
    // released: the button that went up.
    PointerAction Release(PointerButtons released);
    // The window's double click (button: the one clicked), delivered before
    // the press that ends it; judged by where the press before it was.
    PointerAction DoubleClick(ScopeState& state, PointerButtons button);

    DragTarget DragMode() const { return dragMode_; }
    bool PointerInTopStrip() const { return inTopStrip_; }
    bool PointerInBottomStrip() const { return inBottomStrip_; }
    bool SkipNextMouseDown() const { return skipNextMouseDown_; }

private:
    PointerAction PressZeroHandle(const PointerScene& scene, std::int32_t y, std::int32_t yr);
    PointerAction PressMarker(const PointerScene& scene, std::int32_t x, std::int32_t y, std::int32_t xr,
                              std::int32_t yr);
    PointerAction PressLevelHandle(const PointerScene& scene, std::int32_t y, std::int32_t yr);

    DragTarget dragMode_ = DragTarget::None;
    bool inTopStrip_ = false;
    bool inBottomStrip_ = false;
    bool skipNextMouseDown_ = false;
};

}  // namespace qx40
