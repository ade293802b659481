#include "screen/trace_columns.h"

#include <algorithm>
#include <array>

#include "device/sample_record.h"
#include "base/interpolation_kernel.h"

namespace qx40 {
namespace {

// Half a division of samples, at least 5: how much of a roll record's
// oldest data is dimmed after the write position.
std::int64_t RollSpanLength(const FrameInfo* info, std::int64_t timePerDivNs) {
    const std::int64_t divider = info ? (*info)[fi::Divider] : 0;
    if (divider <= 0) return 5;
    return std::max<std::int64_t>((timePerDivNs / (divider * 10)) / 2, 5);
}

// Height in pixels above the bottom grid line; kept far from the int32
// limits so that a wild value never reads as kEmptySample.
std::int32_t HeightPixels(std::int32_t v, const TraceParams& p, double vs) {
    constexpr std::int32_t kLimit = 1 << 20;
    const double codes = (v - static_cast<double>(p.Zero)) * p.Gain + p.Offset;
    return std::clamp(RoundToPixel(codes * vs), -kLimit, kLimit);
}

// HeightPixels looked up for the values a trace holds (ADC codes with the
// overshoot of interpolation, digital levels, spectrum heights) and
// computed for any other.
class HeightMap {
public:
    HeightMap(const TraceParams& p, double vs) : p_(p), vs_(vs) {
        for (std::int32_t v = kLow; v < kHigh; ++v) table_[static_cast<std::size_t>(v - kLow)] = HeightPixels(v, p, vs);
    }
    std::int32_t operator()(std::int32_t v) const {
        return v >= kLow && v < kHigh ? table_[static_cast<std::size_t>(v - kLow)] : HeightPixels(v, p_, vs_);
    }

private:
    static constexpr std::int32_t kLow = -256;
    static constexpr std::int32_t kHigh = 768;
    const TraceParams& p_;
    double vs_;
    std::array<std::int32_t, kHigh - kLow> table_;
};

}  // namespace

void ReduceTrace(const TraceParams& p, std::int32_t w, double vs, std::int64_t timePerDivNs,
                 TraceColumns& out) {
    w = std::max(w, 0);
    const std::int32_t lastColumn = 2 * w;
    out.Lo.assign(static_cast<std::size_t>(lastColumn) + 1, kEmptySample);
    out.Hi.assign(static_cast<std::size_t>(lastColumn) + 1, kEmptySample);
    out.HlStart = -1;
    out.HlEnd = -1;
    out.Shift = 0;
    if (p.Low == nullptr || p.High == nullptr || p.Count <= 0) return;

    const std::int32_t divider = p.Info ? (*p.Info)[fi::Divider] : 0;
    // sin(x)/x only at the full sample rate and with samples more than 0.9 px apart.
    const bool interp = p.Mode == 2 && divider == 1 && p.Dx > 0.9;
    const double shiftPixels = p.Dx * p.Sub;
    out.Shift = RoundToPixel(shiftPixels);
    const double frac = shiftPixels - out.Shift;

    const bool roll = p.RollMark && p.Info && (*p.Info)[fi::RollFrame] == 1;
    const std::int64_t writePos = p.Info ? (*p.Info)[fi::WritePos] : 0;
    const std::int64_t rollSpan = RollSpanLength(p.Info, timePerDivNs);
    bool hlStartSet = false, hlEndSet = false;

    const HeightMap height(p, vs);
    const std::int64_t step = interp ? 1 : 10;
    const double pixelsPerTenth = p.Dx * 0.1;
    const std::int64_t stopAfter = static_cast<std::int64_t>(w) + out.Shift;
    // s counts tenths of a sample from the slot First; slots left of 0 are not read.
    for (std::int64_t s = p.First < 0 ? -static_cast<std::int64_t>(p.First) * 10 : 0;; s += step) {
        const std::int64_t i = s / 10 + p.First;
        if (i >= p.Count) break;
        const std::int32_t col = std::max(0, RoundToPixel(static_cast<double>(s) * pixelsPerTenth - frac));
        if (col > lastColumn) break;

        const auto slot = static_cast<std::int32_t>(i);
        const auto phase = static_cast<std::int32_t>(s % 10);
        const std::int32_t vL = phase == 0 ? p.Low[slot] : InterpolateInterior(p.Low, slot, phase, p.Count);
        const std::int32_t vH = interp ? vL : p.High[slot];

        if (roll) {
            if (!hlStartSet && i >= writePos && i < writePos + rollSpan) {
                hlStartSet = true;
                out.HlStart = col;
                out.HlEnd = lastColumn + 1;
            } else if (hlStartSet && !hlEndSet && i >= writePos + rollSpan) {
                hlEndSet = true;
                out.HlEnd = col;
            }
        }

        const auto c = static_cast<std::size_t>(col);
        if (vL != kEmptySample) {
            const std::int32_t y = height(vL);
            if (out.Lo[c] == kEmptySample || y < out.Lo[c]) out.Lo[c] = y;
        }
        if (vH != kEmptySample) {
            const std::int32_t y = height(vH);
            if (out.Hi[c] == kEmptySample || y > out.Hi[c]) out.Hi[c] = y;
        }
        if (col > stopAfter) break;
    }
}

}  // namespace qx40
