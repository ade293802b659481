// The link activity wheel in the top margin: its segments step with every
// status frame, its hand with every data frame, and it fades while status
// frames arrive without data.
#pragma once

#include <cstdint>

#include "display/canvas.h"
#include "display/screen_context.h"

namespace qx40 {

struct ActivityIndicatorState {
    std::int32_t ActivityFrameStep = 0;   // 0..9, the hand
    std::int32_t ActivityStatusStep = 0;  // 0..9, the newest segment
    std::int32_t FramesSinceData = 0;     // status frames since the last data frame
};

// What happened since the last indicator step (the IndicatorFrame and
// IndicatorStatus flags, which the caller clears) and whether RUN or SINGLE
// is in force.
struct ActivityEvents {
    bool FrameArrived = false;
    bool StatusArrived = false;
    bool Running = false;
};

// Advances the state by the events and draws the wheel.
void DrawActivityIndicator(Canvas& canvas, const ScreenContext& ctx, ActivityIndicatorState& state,
                           const ActivityEvents& events);

}  // namespace qx40
