#include "display/activity_indicator.h"

#include <cmath>

#include "base/blend_color.h"

namespace qx40 {
namespace {

constexpr double kTurn = 6.2831852;  // the wheel's own value of 2 pi
constexpr std::int32_t kSegments = 10;

CanvasPoint WheelPoint(std::int32_t cx, std::int32_t cy, std::int32_t r, std::int32_t n) {
    const double theta = n * kTurn * 0.1;
    return {cx + static_cast<std::int32_t>(std::trunc(r * std::cos(theta))),
            cy + static_cast<std::int32_t>(std::trunc(r * std::sin(theta)))};
}

}  // namespace

void DrawActivityIndicator(Canvas& canvas, const ScreenContext& ctx, ActivityIndicatorState& state,
                           const ActivityEvents& events) {
    if (events.FrameArrived) {
        state.ActivityFrameStep = (state.ActivityFrameStep + 1) % kSegments;
        state.FramesSinceData = 0;
    }
    if (events.StatusArrived) {
        state.ActivityStatusStep = (state.ActivityStatusStep + 1) % kSegments;
        ++state.FramesSinceData;
    }

    const ScreenGeometry& g = ctx.Geometry;
    const std::int32_t cx = g.X0 + 19 * (g.W / 20), cy = g.Y0 / 2;
    const std::int32_t r = g.Small ? 7 : 10;
    const std::uint32_t border = ctx.Colors[ColourSlot::Border];
    const std::uint32_t frame = ctx.Colors[ColourSlot::Grid_Frame];
    // The whole square, both edges included, so no pixel of the last wheel survives.
    canvas.SetPen(border);
    canvas.SetBrush(border);
    canvas.Rectangle(cx - r, cy - r, cx + r + 1, cy + r + 1);

    canvas.SetPen(frame);
    if (events.Running) {
        const bool fading = state.FramesSinceData > 5;
        for (std::int32_t k = 1; k <= kSegments; ++k) {
            const std::int32_t a = (state.ActivityStatusStep + k) % kSegments;
            canvas.SetPen(fading ? BlendColor(frame, ctx.Colors[ColourSlot::Background], 20.0 / (k + 10))
                                 : frame);
            canvas.Arc(cx, cy, r, a * 36.0, 36.0);
        }
        canvas.SetPen(frame);
        const CanvasPoint hand = WheelPoint(cx, cy, r, state.ActivityFrameStep);
        canvas.Line(cx, cy, hand.x, hand.y);
    } else {
        state.FramesSinceData = 0;
        const std::int32_t e = state.ActivityStatusStep >= 6 ? r - 1 : r;
        canvas.Ellipse(cx - e, cy - e, cx + e, cy + e);
    }
}

}  // namespace qx40
