// The range of a value a control can hold, for the control and for the
// settings reader that brings a hand-edited file into it.
#pragma once

#include <cstdint>

namespace qx40 {

struct ValueRange {
    std::int32_t min;
    std::int32_t max;
    constexpr std::int32_t Clamp(std::int32_t v) const {
        return v < min ? min : (v > max ? max : v);
    }
};

}  // namespace qx40
