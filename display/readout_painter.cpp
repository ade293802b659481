#include "display/readout_painter.h"

namespace qx40 {

void DrawScreenTexts(Canvas& canvas, std::span<const ScreenText> texts, std::uint32_t border) {
    canvas.SetBrush(border);
    for (const ScreenText& t : texts) {
        canvas.SetFont(t.Font, t.PixelHeight, t.Colour);
        canvas.SetTextTransparent(t.Transparent);
        canvas.Text(t.X, t.Y, t.Text);
    }
    canvas.SetTextTransparent(false);
}

void DrawReadouts(Canvas& canvas, const ReadoutInput& in) {
    const std::vector<ScreenText> texts = ComputeReadouts(in);
    DrawScreenTexts(canvas, texts, in.State.Colors[ColourSlot::Border]);
}

}  // namespace qx40
