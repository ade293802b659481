// Drawing one channel's record (or the spectrum) as a trace: dots, vectors
// or sin(x)/x, with min/max spans where several samples share a column and
// the roll record's break and dimmed oldest half division.
#pragma once

#include "display/canvas.h"
#include "display/screen_context.h"
#include "screen/trace_columns.h"

namespace qx40 {

// `columns` is scratch storage, reused between traces to avoid allocations.
void DrawTrace(Canvas& canvas, const ScreenContext& ctx, const TraceParams& p, TraceColumns& columns);

}  // namespace qx40
