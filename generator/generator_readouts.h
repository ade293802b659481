// The generator's read-out labels under the generator strip: frequency (or
// sweep span, or pulse width and period), amplitude, pulse duty and
// frequency, modulation.
#pragma once

#include <cstdint>
#include <string>

#include "scope/scope_state.h"

namespace qx40 {

struct GeneratorReadouts {
    std::string F;      // Label_F
    std::string V;      // Label_V
    std::string Pulse;  // Label_Pulse, shown in pulse mode only
    std::string Mod;    // Label_Mod, shown in modulation mode only
    bool PulseVisible = false;
    bool ModVisible = false;
};

GeneratorReadouts ComputeGeneratorReadouts(const GeneratorSection& g, std::int32_t deviceTypeCode,
                                           char decimalSeparator = '.');

}  // namespace qx40
