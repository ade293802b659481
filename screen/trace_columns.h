// The reduction of a trace to pixel columns: every sample (or, with
// sin(x)/x, every tenth of a sample) lands in one of at most 2W + 1 columns,
// and each column keeps its lowest and highest height. Drawing then costs
// one span and at most one joining line per column, however long the record.
#pragma once

#include <cstdint>
#include <vector>

#include "device/frame_info.h"

namespace qx40 {

struct TraceParams {
    std::int32_t Mode = 0;               // 0 dots, 1 vectors, 2 sin(x)/x
    const std::int32_t* Low = nullptr;   // minimum buffer of the channel
    const std::int32_t* High = nullptr;  // maximum buffer (the same as Low for a spectrum)
    std::int32_t Count = 0;              // slots that may be read from both buffers
    std::uint32_t Colour = 0;            // 0x00BBGGRR
    // Height in ADC codes = (v - Zero) * Gain + Offset.
    double Gain = 1.0;
    std::int32_t Zero = 0;
    double Offset = 0.0;
    double Dx = 1.0;           // pixels per sample
    std::int32_t First = 0;    // slot at the left grid edge; negative moves the record right
    double Sub = 0.0;          // sub-sample shift in samples
    bool RollMark = false;     // mark the write position of a roll record
    const FrameInfo* Info = nullptr;  // words Divider, WritePos and RollFrame
};

struct TraceColumns {
    std::vector<std::int32_t> Lo;  // per column lowest height in pixels, or kEmptySample
    std::vector<std::int32_t> Hi;  // per column highest height in pixels, or kEmptySample
    // Roll records: the columns [HlStart, HlEnd) hold the oldest half
    // division, drawn dimmed, and the trace breaks at HlStart. -1 if none.
    std::int32_t HlStart = -1;
    std::int32_t HlEnd = -1;
    std::int32_t Shift = 0;  // whole pixels of the sub-sample shift, subtracted from x
};

// Fills `out` (reusing its storage) for a grid w pixels wide with vs pixels
// per ADC code. Slots holding kEmptySample leave their columns untouched.
void ReduceTrace(const TraceParams& p, std::int32_t w, double vs, std::int64_t timePerDivNs,
                 TraceColumns& out);

}  // namespace qx40
