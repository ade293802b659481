// The text read-outs around the grid: volts and time per division, trigger,
// time (or sweep frequency) at the left edge, sampling information, the
// frequency meter, peak-to-peak and mean voltages, the values at the
// markers, the spectrum's values and the diagnostic lines. Each is worked
// out from the settings and the main record's description as a list of
// placed texts, which DrawReadouts prints.
#pragma once

#include <cstdint>
#include <vector>

#include "scope/derived_quantities.h"
#include "device/frame_info.h"
#include "scope/scope_state.h"
#include "device/usb_stats.h"
#include "screen/screen_geometry.h"
#include "screen/screen_text.h"

namespace qx40 {

// The values of the last spectrum that the read-outs show.
struct SpectrumReadout {
    std::int32_t SizeIndex = 0;  // N = 2^(10 + SizeIndex)
    std::int32_t TopDb = 0;      // dB of the top grid line
    bool PeakValid = false;
    double PeakFreq = 0.0;   // fraction of the Nyquist frequency
    double PeakLevel = 0.0;  // dB of the scale
    std::int32_t AverageCount = 1;
};

struct ReadoutInput {
    const ScopeState& State;
    const DerivedQuantities& Derived;
    const FrameInfo& Main;  // all zero while the main record holds no data
    ScreenGeometry Geometry{};
    std::int32_t ScrollIndex = 0;
    std::int32_t SpectrumMode = 0;
    SpectrumReadout Spectrum{};
    LinkCounters Link{};              // per second
    std::int32_t VccCentivolts = -1;  // -1 while unknown
    char DecimalSeparator = '.';
};

// Rows (tops of the text) and columns (lefts) of the read-out layout.
struct ReadoutLayout {
    std::int32_t Row[5] = {};
    std::int32_t Col[6] = {};
    FontName Font = FontName::MsSansSerif;
    std::int32_t PixelHeight = 13;
};
ReadoutLayout MakeReadoutLayout(const ScreenGeometry& g);

// Every read-out text in drawing order; later texts print over earlier ones.
std::vector<ScreenText> ComputeReadouts(const ReadoutInput& in);

}  // namespace qx40
