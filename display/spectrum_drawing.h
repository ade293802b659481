// The spectrum on the screen: its trace over the dimmed waveforms and the
// message shown when no spectrum can be made.
#pragma once

#include <cstdint>

#include "device/frame_info.h"
#include "display/canvas.h"
#include "display/screen_context.h"
#include "screen/trace_columns.h"

namespace qx40 {

// binHeights holds binCount display heights in codes (kEmptySample where
// there is none); bin k lands at X0 + k * W / binCount.
void DrawSpectrumTrace(Canvas& canvas, const ScreenContext& ctx, const std::int32_t* binHeights,
                       std::int32_t binCount, const FrameInfo& main, TraceColumns& columns);

// The boxed message of spectrum modes 3, 4 and 5; nothing for the others.
void DrawSpectrumMessage(Canvas& canvas, const ScreenContext& ctx, std::int32_t spectrumMode, bool twoAnalog,
                         bool russian);

}  // namespace qx40
