#include "screen/pointer_controller.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdlib>

#include "base/round_nearest.h"

namespace qx40 {
namespace {

struct GridOffset {
    std::int32_t xr = 0;
    std::int32_t yr = 0;
};

// With the right button held the pointer lands on half divisions, so that
// markers and levels are easy to put on the grid lines.
std::int32_t SnapToHalfDivision(std::int32_t r, std::int32_t perDivision) {
    const std::int32_t half = perDivision / 2;
    assert(half > 0);  // the grid is never smaller than 125 x 64 pixels
    return ((r + perDivision / 4) / half) * half;
}

GridOffset OffsetInGrid(const ScreenGeometry& g, std::int32_t x, std::int32_t y, bool snap) {
    GridOffset o{x - g.X0, y - g.Y0};
    if (snap) {
        o.xr = SnapToHalfDivision(o.xr, g.Px);
        o.yr = SnapToHalfDivision(o.yr, g.Py);
    }
    return o;
}

// The level (0 bottom .. 255 top) at a row of the grid; rows above the grid
// give the top, rows below it the bottom.
std::int32_t LevelAt(std::int32_t yr, const ScreenGeometry& g) {
    if (yr < 0) return 255;
    if (yr > g.H - 1) return 0;
    return RoundNearest((g.H - yr) / g.Vs) - 1;
}

// Rows between the unsnapped pointer and the handle of a level.
std::int64_t HandleDistance(double level, std::int32_t y, const ScreenGeometry& g) {
    return std::llabs(std::int64_t{g.H} - 1 - (std::int64_t{y} - g.Y0) - RoundNearest(level * g.Vs));
}

std::int64_t TriggerHandleDistance(double level, std::int32_t y, const ScreenGeometry& g) {
    return HandleDistance(std::clamp(RoundNearest(level), 0, 255), y, g);
}

std::int64_t VerticalLineDistance(std::int32_t markerX, std::int32_t x, const ScreenGeometry& g) {
    return std::llabs(std::int64_t{x} - g.X0 - RoundNearest(markerX * g.Hs));
}

std::int64_t HorizontalLineDistance(std::int32_t markerY, std::int32_t y, const ScreenGeometry& g) {
    return std::llabs(std::int64_t{y} - g.Y0 - RoundNearest(markerY * g.Vs));
}

std::int32_t MarkerMode(const CommonSection& c) { return c.Markers_2 ? 2 : (c.Markers_1 ? 1 : 0); }

bool IsVerticalLine(DragTarget t) {
    return t == DragTarget::Marker_x || t == DragTarget::Marker1_x || t == DragTarget::Marker2_x;
}

std::int32_t& MarkerField(CommonSection& c, DragTarget t) {
    switch (t) {
        case DragTarget::Marker_x: return c.Marker_x;
        case DragTarget::Marker_y: return c.Marker_y;
        case DragTarget::Marker1_x: return c.Marker1_x;
        case DragTarget::Marker1_y: return c.Marker1_y;
        case DragTarget::Marker2_x: return c.Marker2_x;
        default: assert(t == DragTarget::Marker2_y); return c.Marker2_y;
    }
}

PointerAction PlaceMarker(CommonSection& c, DragTarget t, GridOffset o, const ScreenGeometry& g) {
    MarkerField(c, t) = IsVerticalLine(t) ? RoundNearest(o.xr / g.Hs) : RoundNearest(o.yr / g.Vs);
    return PointerAction::ApplySettings;
}

// A zero line carries its channel's trigger level along, so the level stays
// at the same voltage.
void ShiftZero(std::int32_t& zero, double& level, std::int32_t newZero) {
    level += static_cast<double>(newZero) - static_cast<double>(zero);
    zero = newZero;
}

PointerAction PlaceZero(const PointerScene& scene, DragTarget t, std::int32_t yr) {
    const std::int32_t zero = LevelAt(yr, scene.geometry);
    ScopeState& s = scene.state;
    RecordLevels& bg = scene.background;
    switch (t) {
        case DragTarget::A1_Zero:
            ShiftZero(s.Scope.A1_Zero, s.Trigger.Lev_A1, zero);
            return PointerAction::ApplyAndRestart;
        case DragTarget::A2_Zero:
            ShiftZero(s.Scope.A2_Zero, s.Trigger.Lev_A2, zero);
            return PointerAction::ApplyAndRestart;
        case DragTarget::BackgroundA1Zero:
            ShiftZero(bg.A1_Zero, bg.Lev_A1, zero);
            return PointerAction::ApplySettings;  // a stored record: the instrument is not involved
        default:
            assert(t == DragTarget::BackgroundA2Zero);
            ShiftZero(bg.A2_Zero, bg.Lev_A2, zero);
            return PointerAction::ApplySettings;
    }
}

PointerAction PlaceTriggerLevel(ScopeState& s, DragTarget t, std::int32_t yr, const ScreenGeometry& g) {
    (t == DragTarget::Lev_A1 ? s.Trigger.Lev_A1 : s.Trigger.Lev_A2) = LevelAt(yr, g);
    return PointerAction::ApplyAndRestart;
}

struct Candidate {
    DragTarget target = DragTarget::None;
    bool available = false;
    std::int64_t distance = 0;
};

// The nearest available candidate; on equal distances the earlier one wins.
template <std::size_t N>
DragTarget Nearest(const std::array<Candidate, N>& candidates) {
    const Candidate* best = nullptr;
    for (const Candidate& c : candidates)
        if (c.available && (best == nullptr || c.distance < best->distance)) best = &c;
    return best == nullptr ? DragTarget::None : best->target;
}

}  // namespace

PointerAction PointerController::Press(const PointerScene& scene, std::int32_t x, std::int32_t y,
                                       PointerButtons buttons) {
    if (!buttons.Left && !buttons.Right) return PointerAction::None;
    dragMode_ = DragTarget::None;
    if (skipNextMouseDown_) {  // the second press of a double click in a strip
        skipNextMouseDown_ = false;
        return PointerAction::None;
    }
    const ScreenGeometry& g = scene.geometry;
    const bool overGrid = g.X0 < x && x < g.X0 + g.W;
    inTopStrip_ = y < g.Y0 && overGrid;
    inBottomStrip_ = y > g.Y0 + g.H && overGrid;
    const GridOffset o = OffsetInGrid(g, x, y, buttons.Right);
    if (x < g.X0) return PressZeroHandle(scene, y, o.yr);
    if (x <= g.X0 + g.W) return PressMarker(scene, x, y, o.xr, o.yr);
    return PressLevelHandle(scene, y, o.yr);
}

PointerAction PointerController::PressZeroHandle(const PointerScene& scene, std::int32_t y, std::int32_t yr) {
    const ScopeState& s = scene.state;
    const bool a1 = s.Common.CH_A1;
    const bool a2 = s.Common.CH_A2;
    if (!a1 && !a2) return PointerAction::None;
    // A handle that is not drawn is never grabbed, however near it is.
    const bool bg = scene.backgroundHasData && s.View.BG_View;
    const ScreenGeometry& g = scene.geometry;
    dragMode_ = Nearest(std::array<Candidate, 4>{{
        {DragTarget::A1_Zero, a1, HandleDistance(s.Scope.A1_Zero, y, g)},
        {DragTarget::A2_Zero, a2, HandleDistance(s.Scope.A2_Zero, y, g)},
        {DragTarget::BackgroundA1Zero, bg && a1, HandleDistance(scene.background.A1_Zero, y, g)},
        {DragTarget::BackgroundA2Zero, bg && a2, HandleDistance(scene.background.A2_Zero, y, g)},
    }});
    return PlaceZero(scene, dragMode_, yr);
}

PointerAction PointerController::PressMarker(const PointerScene& scene, std::int32_t x, std::int32_t y,
                                             std::int32_t xr, std::int32_t yr) {
    CommonSection& c = scene.state.Common;
    const ScreenGeometry& g = scene.geometry;
    const std::int32_t mode = MarkerMode(c);
    if (mode == 0 || y < g.Y0 || y > g.Y0 + g.H) return PointerAction::None;
    if (mode == 1) {
        const bool horizontal = VerticalLineDistance(c.Marker_x, x, g) > HorizontalLineDistance(c.Marker_y, y, g);
        dragMode_ = horizontal ? DragTarget::Marker_y : DragTarget::Marker_x;
    } else {
        dragMode_ = Nearest(std::array<Candidate, 4>{{
            {DragTarget::Marker1_x, true, VerticalLineDistance(c.Marker1_x, x, g)},
            {DragTarget::Marker1_y, true, HorizontalLineDistance(c.Marker1_y, y, g)},
            {DragTarget::Marker2_x, true, VerticalLineDistance(c.Marker2_x, x, g)},
            {DragTarget::Marker2_y, true, HorizontalLineDistance(c.Marker2_y, y, g)},
        }});
    }
    return PlaceMarker(c, dragMode_, {xr, yr}, g);
}

PointerAction PointerController::PressLevelHandle(const PointerScene& scene, std::int32_t y, std::int32_t yr) {
    ScopeState& s = scene.state;
    const bool a1 = s.Common.CH_A1;
    const bool a2 = s.Common.CH_A2;
    if (!a1 && !a2) return PointerAction::None;
    const ScreenGeometry& g = scene.geometry;
    dragMode_ = Nearest(std::array<Candidate, 2>{{
        {DragTarget::Lev_A1, a1, TriggerHandleDistance(s.Trigger.Lev_A1, y, g)},
        {DragTarget::Lev_A2, a2, TriggerHandleDistance(s.Trigger.Lev_A2, y, g)},
    }});
    return PlaceTriggerLevel(s, dragMode_, yr, g);
}

PointerAction PointerController::Move(const PointerScene& scene, std::int32_t x, std::int32_t y,
                                      PointerButtons buttons) {
    if ((!buttons.Left && !buttons.Right) || dragMode_ == DragTarget::None) return PointerAction::None;
    const ScreenGeometry& g = scene.geometry;
    GridOffset o = OffsetInGrid(g, x, y, buttons.Right);
    o.xr = std::clamp(o.xr, 0, g.W);
    o.yr = std::clamp(o.yr, 0, g.H);
    switch (dragMode_) {
        case DragTarget::A1_Zero:
        case DragTarget::A2_Zero:
        case DragTarget::BackgroundA1Zero:
        case DragTarget::BackgroundA2Zero:
            return PlaceZero(scene, dragMode_, o.yr);
        case DragTarget::Lev_A1:
        case DragTarget::Lev_A2:
            return PlaceTriggerLevel(scene.state, dragMode_, o.yr, g);
        default:
            return PlaceMarker(scene.state.Common, dragMode_, o, g);
    }
}

PointerAction PointerController::Release(PointerButtons released) {
    if (!released.Left && !released.Right) return PointerAction::None;
    dragMode_ = DragTarget::None;
    return PointerAction::ApplySettings;
}

PointerAction PointerController::DoubleClick(ScopeState& state, PointerButtons button) {
    if (!button.Left && !button.Right) return PointerAction::None;
    if (inTopStrip_ || inBottomStrip_) skipNextMouseDown_ = true;
    if (inTopStrip_) {
        state.View.Compact = !state.View.Compact;
    } else if (inBottomStrip_ && HasFeature(state.System.Device_Type_Code, feature::kGenerator)) {
        state.Common.Generator = !state.Common.Generator;
    }
    return PointerAction::ArrangePanels;
}

}  // namespace qx40
