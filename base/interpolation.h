// sin(x)/x interpolation between samples, in tenths of a sample.
#pragma once

#include <array>
#include <cstdint>

namespace qx40 {

// The windowed sin(x)/x kernel, 6554 = 1.0; entry e is the weight at a
// distance of (e - 90) / 10 samples.
extern const std::array<std::int32_t, 180> SincTable;

// The value between slot i and i + 1 at phase tenths (0..9) of a record of
// count slots; EmptySample outside the record and past its last slot. Taps
// beyond the record's ends, or on empty slots, are extrapolated
// quadratically from the samples already visited.
std::int32_t InterpolateSample(const std::int32_t* buf, std::int32_t i, std::int32_t phase, std::int32_t count);

}  // namespace qx40
