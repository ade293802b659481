#include "base/blend_color.h"

#include <algorithm>
#include <cmath>

namespace qx40 {

std::uint32_t BlendColor(std::uint32_t colour, std::uint32_t background, double k) {
    if (!(k > 0)) return colour;
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double c = (colour >> shift) & 0xFF;
        const double b = (background >> shift) & 0xFF;
        const double v = std::clamp(std::trunc(b + (c - b) / k), 0.0, 255.0);
        out |= static_cast<std::uint32_t>(v) << shift;
    }
    return out;
}

}  // namespace qx40
