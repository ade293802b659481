// Mixing a colour towards a background, for dimmed traces and marks.
#pragma once

#include <cstdint>

namespace qx40 {

// Per channel trunc(b + (c - b) / k) on colours in 0x00BBGGRR: k = 2 is
// halfway, larger k is closer to the background.
std::uint32_t BlendColor(std::uint32_t colour, std::uint32_t background, double k);

}  // namespace qx40
