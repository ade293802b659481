// The fixed furniture of the screen: grid, frame, trigger-position line,
// the marks at the grid's edges (trigger source, trigger level, zero), the
// trigger-point flag and the measurement markers.
#pragma once

#include <cstdint>
#include <string>

#include "device/frame_info.h"
#include "display/canvas.h"
#include "display/screen_context.h"

namespace qx40 {

void DrawGrid(Canvas& canvas, const ScreenContext& ctx);
void DrawFrame(Canvas& canvas, const ScreenContext& ctx);
// The trigger slot of the record as a vertical line, when it is not left of the view.
void DrawTriggerPositionLine(Canvas& canvas, const ScreenContext& ctx, const FrameInfo& info);

// The level the record was triggered at, at the right edge: for an analog
// source its trigger level relative to its zero plus `value` (the zero line
// it is shown at), for a digital source `value` (the lane position).
// Triangles above or below the grid when the level is off screen.
void DrawTriggerSourceMark(Canvas& canvas, const ScreenContext& ctx, std::int32_t value,
                           const FrameInfo& info, std::uint32_t colour);

// The trigger level the user set, at the right edge; while it is dragged
// (showLines) with lines across the grid at the level and the edges of the
// hysteresis band of index hyst (0..5).
void DrawTriggerLevelMark(Canvas& canvas, const ScreenContext& ctx, double level, std::int32_t hyst,
                          bool showLines, std::uint32_t colour);

// A channel's 0 V position (an ADC code), at the left edge.
void DrawZeroMark(Canvas& canvas, const ScreenContext& ctx, std::int32_t position, std::uint32_t colour);

// What the trigger-point flag needs besides the frame.
struct TriggerPointView {
    bool ShowA1 = true;  // channel menu items
    bool ShowA2 = true;
    bool ShowD1 = true;
    bool ShowD2 = true;
    std::int32_t A1_Zero = 191;
    std::int32_t A2_Zero = 63;
    bool SpectrumShown = false;  // dims the flag
};
// The flag at the trigger point with the pulse time the instrument measured.
void DrawTriggerPointMark(Canvas& canvas, const ScreenContext& ctx, const FrameInfo& info,
                          const TriggerPointView& view);
// The text of the flag: the pulse time of TrigEcho in 10 ns ticks, or "...".
std::string TriggerPointText(std::int32_t ticks, char decimalSeparator);

struct MarkerPositions {
    std::int32_t Mode = 0;  // 0 none, 1 one marker, 2 two markers
    std::int32_t Marker_x = 25, Marker_y = 240;
    std::int32_t Marker1_x = 25, Marker1_y = 240;
    std::int32_t Marker2_x = 475, Marker2_y = 16;
};
void DrawMarkers(Canvas& canvas, const ScreenContext& ctx, const MarkerPositions& m);

}  // namespace qx40
