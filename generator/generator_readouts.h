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

// The digits of a frequency set by a coarse/fine bar pair (coarse x 100 +
// fine, times the range): 6 significant digits once the pair reaches 100000
// or the frequency 10 MHz, else 5 (as FormatValue's negative digits).
int FrequencyDigits(std::int64_t barValue, double deciHertz);

GeneratorReadouts ComputeGeneratorReadouts(const GeneratorSection& g, std::int32_t deviceTypeCode,
                                           char decimalSeparator = '.');

}  // namespace qx40
