#include "display/spectrum_drawing.h"

#include <string>

#include "spectrum/spectrum_mode.h"
#include "display/trace_renderer.h"

namespace qx40 {

void DrawSpectrumTrace(Canvas& canvas, const ScreenContext& ctx, const std::int32_t* binHeights,
                       std::int32_t binCount, const FrameInfo& main, TraceColumns& columns) {
    if (binHeights == nullptr || binCount <= 0) return;
    TraceParams p;
    p.Mode = 1;
    p.Low = binHeights;
    p.High = binHeights;
    p.Count = binCount;
    p.Colour = ctx.Colors[ColourSlot::FFT];
    p.Dx = static_cast<double>(ctx.Geometry.W) / binCount;
    p.Info = &main;
    DrawTrace(canvas, ctx, p, columns);
}

void DrawSpectrumMessage(Canvas& canvas, const ScreenContext& ctx, std::int32_t spectrumMode, bool twoAnalog,
                         bool russian) {
    const std::string text = SpectrumMessageText(spectrumMode, twoAnalog, russian);
    if (text.empty()) return;
    const ScreenGeometry& g = ctx.Geometry;
    const std::uint32_t fft = ctx.Colors[ColourSlot::FFT];
    const std::int32_t fh = g.Small ? 10 : 13;
    canvas.SetPen(fft);
    canvas.SetBrush(ctx.Colors[ColourSlot::Background]);
    canvas.SetFont(g.Small ? FontName::Arial : FontName::MsSansSerif, fh, fft);
    canvas.SetTextTransparent(false);
    const std::int32_t tw = canvas.TextWidth(text);
    const std::int32_t xc = g.X0 + g.W / 2, yc = g.Y0 + 13 * g.H / 16;
    canvas.Rectangle(xc - tw / 2 - 20, yc - fh, xc + tw / 2 + 20, yc + fh + 1);
    canvas.Text(xc - tw / 2, yc - fh / 2, text);
}

}  // namespace qx40
