// The oscilloscope screen's coordinate model: where the grid sits in the
// paint area and how ADC codes, samples and marker points map to pixels.
#pragma once

#include <cstdint>

namespace qx40 {

struct ScreenGeometry {
    bool Small = false;  // paint area below 500 px wide: smaller fonts and indicator
    std::int32_t X0 = 30;  // left grid column
    std::int32_t Y0 = 24;  // top grid row
    std::int32_t W = 125;  // grid width in pixels (10 divisions)
    std::int32_t H = 64;   // grid height in pixels (8 divisions of 32 codes)
    std::int32_t Px = 12;  // pixels per horizontal division
    std::int32_t Py = 8;   // pixels per vertical division
    double Hs = 0.25;      // pixels per marker point (500 across the grid)
    double Vs = 0.25;      // pixels per ADC code
};

// The geometry for a paint area of iw x ih pixels; the grid never shrinks
// below 125 x 64 however small the area.
ScreenGeometry ComputeScreenGeometry(std::int32_t iw, std::int32_t ih);

}  // namespace qx40
