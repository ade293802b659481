#include "display/screen_marks.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/blend_color.h"
#include "base/round_nearest.h"
#include "base/value_format.h"

namespace qx40 {
namespace {

// Half-width of the trigger hysteresis band in codes, by Hyst index.
constexpr std::array<std::int32_t, 6> kHysteresisCodes = {0, 2, 3, 8, 16, 32};

// Far outside any image, yet far from the int32 limits: pixel offsets and
// codes computed from a record's words are clamped to it, so that adding
// the grid origin or a mark's size never overflows. Nothing on screen moves.
constexpr double kFarOffScreen = 1 << 20;

std::int32_t RoundClamped(double x) {
    return RoundNearest(std::clamp(x, -kFarOffScreen, kFarOffScreen));
}

// Row offset from Y0 of an ADC code.
std::int32_t RowOf(const ScreenGeometry& g, double code) {
    return RoundClamped((255.0 - code) * g.Vs);
}

// Pixels from the left grid edge to the record's trigger slot.
std::int32_t TriggerOffsetPixels(const ScreenContext& ctx, const FrameInfo& info) {
    const double slotCount = static_cast<double>(info[fi::PreTrigger]) - ctx.ScrollIndex;
    return RoundClamped(slotCount * ctx.Geometry.Px * info[fi::Divider] /
                        (static_cast<double>(ctx.TimePerDivNs) * 0.1));
}

// The trigger level of an analog-triggered frame in codes of today's
// volts/div, relative to the frame's zero. Both words may hold anything,
// so the difference is taken in double (exact for any two of them).
std::int32_t AnalogTriggerCodes(const FrameInfo& info, std::size_t zeroWord, std::size_t voltsWord,
                                std::int32_t voltsDivNow) {
    const double now = voltsDivNow > 0 ? voltsDivNow : info[voltsWord];
    const double codes = static_cast<double>(info[fi::TrigLevel]) - info[zeroWord];
    return RoundClamped(now > 0 ? codes * info[voltsWord] / now : codes);
}

void Pentagon(Canvas& canvas, std::int32_t x, std::int32_t y, std::int32_t dir) {
    const std::array<CanvasPoint, 5> p = {{{x + dir, y},
                                           {x + 8 * dir, y + 7},
                                           {x + 18 * dir, y + 7},
                                           {x + 18 * dir, y - 7},
                                           {x + 8 * dir, y - 7}}};
    canvas.Polygon(p);
}

}  // namespace

void DrawGrid(Canvas& canvas, const ScreenContext& ctx) {
    const ScreenGeometry& g = ctx.Geometry;
    canvas.SetPen(ctx.Colors[ColourSlot::Grid]);
    const std::int32_t px = g.W / 10, py = g.H / 8;
    for (std::int32_t k = 0; px > 0 && k * px <= g.W; ++k)
        canvas.Line(g.X0 + k * px, g.Y0, g.X0 + k * px, g.Y0 + g.H);
    for (std::int32_t k = 0; py > 0 && k * py <= g.H; ++k)
        canvas.Line(g.X0, g.Y0 + k * py, g.X0 + g.W, g.Y0 + k * py);
    for (std::int32_t i = 0; i < 50; ++i) {
        const std::int32_t x = g.X0 + g.W * i / 50;
        canvas.Line(x, g.Y0, x, g.Y0 + 2);
        canvas.Line(x, g.Y0 + g.H - 2, x, g.Y0 + g.H);
        canvas.Line(x, g.Y0 + g.H / 2 - 1, x, g.Y0 + g.H / 2 + 1);
    }
    for (std::int32_t i = 0; i < 40; ++i) {
        const std::int32_t y = g.Y0 + g.H * i / 40;
        canvas.Line(g.X0, y, g.X0 + 2, y);
        canvas.Line(g.X0 + g.W - 2, y, g.X0 + g.W, y);
        canvas.Line(g.X0 + g.W / 2 - 1, y, g.X0 + g.W / 2 + 1, y);
    }
}

void DrawFrame(Canvas& canvas, const ScreenContext& ctx) {
    const ScreenGeometry& g = ctx.Geometry;
    canvas.SetPen(ctx.Colors[ColourSlot::Grid_Frame]);
    const std::int32_t l = g.X0 - 1, t = g.Y0 - 1, r = g.X0 + g.W + 1, b = g.Y0 + g.H + 1;
    const std::array<CanvasPoint, 5> outline = {{{l, t}, {l, b}, {r, b}, {r, t}, {l, t}}};
    canvas.Polyline(outline);
}

void DrawTriggerPositionLine(Canvas& canvas, const ScreenContext& ctx, const FrameInfo& info) {
    if (info[fi::PreTrigger] < ctx.ScrollIndex) return;
    const ScreenGeometry& g = ctx.Geometry;
    const std::int32_t x = g.X0 + TriggerOffsetPixels(ctx, info);
    canvas.SetPen(ctx.Colors[ColourSlot::Trig_Pos]);
    canvas.Line(x, g.Y0, x, g.Y0 + g.H);
}

void DrawTriggerSourceMark(Canvas& canvas, const ScreenContext& ctx, std::int32_t value,
                           const FrameInfo& info, std::uint32_t colour) {
    const ScreenGeometry& g = ctx.Geometry;
    std::int32_t c = value;
    if (info[fi::TrigSource] == 1)
        c = AnalogTriggerCodes(info, fi::ZeroA1, fi::VoltsDivA1, ctx.VoltsDivA1) + value;
    else if (info[fi::TrigSource] == 2)
        c = AnalogTriggerCodes(info, fi::ZeroA2, fi::VoltsDivA2, ctx.VoltsDivA2) + value;

    canvas.SetPen(colour);
    canvas.SetBrush(colour);
    const std::int32_t xr = g.X0 + 1 + g.W;
    if (c >= 256) {
        const std::array<CanvasPoint, 3> up = {{{xr + 1, g.Y0 - 8}, {xr + 4, g.Y0 - 5}, {xr - 2, g.Y0 - 5}}};
        canvas.Polygon(up);
    } else if (c >= 0) {
        const std::int32_t y = g.Y0 + RowOf(g, c);
        canvas.Line(xr + 1, y, xr + 2, y);
        const std::array<CanvasPoint, 3> left = {{{xr + 2, y}, {xr + 6, y + 4}, {xr + 6, y - 4}}};
        canvas.Polygon(left);
    } else {
        const std::int32_t yb = g.Y0 + g.H;
        const std::array<CanvasPoint, 3> down = {{{xr + 1, yb + 7}, {xr + 4, yb + 4}, {xr - 2, yb + 4}}};
        canvas.Polygon(down);
    }
}

void DrawTriggerLevelMark(Canvas& canvas, const ScreenContext& ctx, double level, std::int32_t hyst,
                          bool showLines, std::uint32_t colour) {
    const ScreenGeometry& g = ctx.Geometry;
    const std::int32_t rounded = RoundNearest(level);
    const std::int32_t y = RowOf(g, std::clamp(rounded, 0, 255));
    const std::int32_t h = RoundNearest(kHysteresisCodes[static_cast<std::size_t>(std::clamp(hyst, 0, 5))] * g.Vs);
    const std::int32_t yLo = std::clamp(y - h, 0, g.H), yHi = std::clamp(y + h, 0, g.H);
    const std::int32_t xr = g.X0 + 1 + g.W;

    canvas.SetPen(colour);
    canvas.SetBrush(ctx.Colors[ColourSlot::Background]);
    Pentagon(canvas, xr, g.Y0 + y, 1);
    canvas.Line(xr + 12, g.Y0 + y + 3, xr + 12, g.Y0 + y - 3);
    canvas.Line(xr + 15, g.Y0 + y - 3, xr + 8, g.Y0 + y - 3);

    if (showLines) {
        const std::uint32_t trigPos = ctx.Colors[ColourSlot::Trig_Pos];
        canvas.SetPen(BlendColor(trigPos, ctx.Colors[ColourSlot::Background], 1.5));
        canvas.Line(g.X0, g.Y0 + yLo, xr, g.Y0 + yLo);
        canvas.Line(g.X0, g.Y0 + yHi, xr, g.Y0 + yHi);
        canvas.SetPen(trigPos);
        canvas.Line(g.X0, g.Y0 + y, xr, g.Y0 + y);
    }
    if (ctx.Debug) {
        canvas.SetFont(FontName::Arial, 10, colour);
        canvas.SetTextTransparent(true);
        canvas.Text(xr + 3, g.Y0 + y - 20, std::to_string(rounded));
        canvas.SetTextTransparent(false);
    }
}

void DrawZeroMark(Canvas& canvas, const ScreenContext& ctx, std::int32_t position, std::uint32_t colour) {
    const ScreenGeometry& g = ctx.Geometry;
    const std::int32_t y = g.Y0 + RowOf(g, position);
    const std::int32_t xl = g.X0 - 1;
    canvas.SetPen(colour);
    canvas.SetBrush(ctx.Colors[ColourSlot::Background]);
    Pentagon(canvas, xl, y, -1);
    const std::array<CanvasPoint, 4> z = {{{xl - 14, y - 3}, {xl - 8, y - 3}, {xl - 14, y + 3}, {xl - 7, y + 3}}};
    canvas.Polyline(z);
    if (ctx.Debug) {
        canvas.SetFont(FontName::Arial, 10, colour);
        canvas.SetTextTransparent(true);
        canvas.Text(xl - 24, y - 20, std::to_string(position));
        canvas.SetTextTransparent(false);
    }
}

std::string TriggerPointText(std::int32_t ticks, char decimalSeparator) {
    if (ticks == 0 || ticks == -1) return "...";
    const int decimals = ticks < 100 ? 0 : ticks < 100000 ? 2 : ticks < 100000000 ? 5 : 8;
    return FormatValue(static_cast<double>(ticks) * 10.0, ValueKind::Time, decimals, decimalSeparator);
}

void DrawTriggerPointMark(Canvas& canvas, const ScreenContext& ctx, const FrameInfo& info,
                          const TriggerPointView& view) {
    const ScreenGeometry& g = ctx.Geometry;
    std::int32_t c = 0;
    std::uint32_t colour = 0;
    switch (info[fi::TrigSource]) {
        case 1:
            if (!view.ShowA1) return;
            c = AnalogTriggerCodes(info, fi::ZeroA1, fi::VoltsDivA1, ctx.VoltsDivA1) + view.A1_Zero;
            colour = ctx.Colors[ColourSlot::CH_A1];
            break;
        case 2:
            if (!view.ShowA2) return;
            c = AnalogTriggerCodes(info, fi::ZeroA2, fi::VoltsDivA2, ctx.VoltsDivA2) + view.A2_Zero;
            colour = ctx.Colors[ColourSlot::CH_A2];
            break;
        case 3:
            if (!view.ShowD1) return;
            c = 15;
            colour = ctx.Colors[ColourSlot::CH_D1];
            break;
        case 4:
            if (!view.ShowD2) return;
            c = 47;
            colour = ctx.Colors[ColourSlot::CH_D2];
            break;
        default:
            return;
    }
    if (view.SpectrumShown) colour = BlendColor(colour, ctx.Colors[ColourSlot::Background], 2.0);

    const std::int32_t fh = g.Small ? 10 : 13;
    canvas.SetFont(g.Small ? FontName::Arial : FontName::MsSansSerif, fh, colour);
    const std::string text = TriggerPointText(info[fi::TrigEcho], ctx.DecimalSeparator);
    const std::int32_t tw = canvas.TextWidth(text);
    const std::int32_t x = g.X0 + TriggerOffsetPixels(ctx, info);
    const std::int32_t y = g.Y0 + RowOf(g, c);

    canvas.SetPen(colour);
    canvas.SetBrush(ctx.Colors[ColourSlot::Background]);
    canvas.Rectangle(x + 1, y - fh / 2 - 2, x + tw + 6, y + fh / 2 + 5);
    const std::array<CanvasPoint, 7> arrow = {{{x - 20, y - 1},
                                               {x - 10, y - 1},
                                               {x - 10, y - 5},
                                               {x, y},
                                               {x - 10, y + 5},
                                               {x - 10, y + 1},
                                               {x - 20, y + 1}}};
    canvas.Polygon(arrow);
    canvas.Text(x + 4, y - fh / 2, text);
}

void DrawMarkers(Canvas& canvas, const ScreenContext& ctx, const MarkerPositions& m) {
    const ScreenGeometry& g = ctx.Geometry;
    canvas.SetPen(ctx.Colors[ColourSlot::Markers]);
    const auto vertical = [&](std::int32_t mx) {
        const std::int32_t x = g.X0 + RoundClamped(mx * g.Hs);
        canvas.Line(x, g.Y0, x, g.Y0 + g.H + 1);
    };
    const auto horizontal = [&](std::int32_t my) {
        const std::int32_t y = g.Y0 + RoundClamped(my * g.Vs);
        canvas.Line(g.X0, y, g.X0 + g.W + 1, y);
    };
    if (m.Mode == 1) {
        vertical(m.Marker_x);
        horizontal(m.Marker_y);
    } else if (m.Mode == 2) {
        vertical(m.Marker1_x);
        vertical(m.Marker2_x);
        horizontal(m.Marker1_y);
        horizontal(m.Marker2_y);
    }
}

}  // namespace qx40
