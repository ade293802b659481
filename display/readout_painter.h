// Printing placed texts, and the read-outs drawn from their input.
#pragma once

#include <span>

#include "display/canvas.h"
#include "screen/readouts.h"
#include "screen/screen_text.h"

namespace qx40 {

// Opaque texts get the `border` colour behind them.
void DrawScreenTexts(Canvas& canvas, std::span<const ScreenText> texts, std::uint32_t border);

void DrawReadouts(Canvas& canvas, const ReadoutInput& in);

}  // namespace qx40
