#include "display/trace_renderer.h"

#include "device/sample_record.h"
#include "base/blend_color.h"

namespace qx40 {

void DrawTrace(Canvas& canvas, const ScreenContext& ctx, const TraceParams& p, TraceColumns& columns) {
    const ScreenGeometry& g = ctx.Geometry;
    ReduceTrace(p, g.W, g.Vs, ctx.TimePerDivNs, columns);

    const std::uint32_t dimmed = BlendColor(p.Colour, ctx.Colors[ColourSlot::Background], 3.0);
    const bool vectors = p.Mode != 0;
    const std::int32_t bottom = g.Y0 + g.H;
    const std::int32_t left = g.X0 - columns.Shift;
    const std::int32_t lastColumn = static_cast<std::int32_t>(columns.Lo.size()) - 1;
    bool first = true;
    std::int32_t pc = 0;
    for (std::int32_t c = 0; c <= lastColumn; ++c) {
        // Where the newest data of a roll record meets its oldest the line breaks.
        if (c == columns.HlStart && c != 0) {
            first = true;
            continue;
        }
        const std::int32_t lo = columns.Lo[static_cast<std::size_t>(c)];
        const std::int32_t hi = columns.Hi[static_cast<std::size_t>(c)];
        if (lo == kEmptySample || hi == kEmptySample) continue;  // vectors bridge the gap

        canvas.SetPen(c >= columns.HlStart && c < columns.HlEnd ? dimmed : p.Colour);
        bool connected = false;
        if (vectors && !first) {
            const std::int32_t pLo = columns.Lo[static_cast<std::size_t>(pc)];
            const std::int32_t pHi = columns.Hi[static_cast<std::size_t>(pc)];
            // Spans that overlap need no joining line.
            if (lo >= pHi) {
                canvas.Line(left + pc, bottom - pHi, left + c, bottom - lo);
                connected = true;
            } else if (pLo >= hi) {
                canvas.Line(left + pc, bottom - pLo, left + c, bottom - hi);
                connected = true;
            }
        }
        if (!(vectors && lo == hi && connected)) canvas.Line(left + c, bottom - lo, left + c, bottom - (hi + 1));
        first = false;
        pc = c;
        if (c > g.W + columns.Shift) break;
    }
}

}  // namespace qx40
