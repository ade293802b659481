// The ranges of the modulation fields, as the modulation dialog's controls
// hold them. The settings reader brings a hand-edited file into the same
// ranges, so that what the dialog shows is what the instrument gets.
#pragma once

#include <array>
#include <cstdint>

#include "base/value_range.h"
#include "scope/scope_state.h"

namespace qx40 {

struct ModulationRanges {
    ValueRange Bar{0, 1000};  // Mod_Freq_Fast, Mod_Freq_Slow, Mod_K, Dev_Freq, Sum_Lev
    std::int32_t LargeChange = 10;
    // SpeedButton_MF_10K .. SpeedButton_MF_50M.
    std::array<std::int32_t, 5> MF_Mult{1, 10, 100, 1000, 5000};
    // SpeedButton_Dev_10K, SpeedButton_Dev_100K.
    std::array<std::int32_t, 2> DF_Mult{1, 10};
    // The modulating waveforms in button order (Sin, Rect, Trian, Up_Trian,
    // Dn_Trian); noise is 7.
    std::array<std::int32_t, 5> ShapeCodes{0, 3, 4, 1, 2};
    std::int32_t NoiseShape = 7;
};

inline constexpr ModulationRanges kModulationRanges{};

// Each field as the dialog shows it: a type other than AM or FM is SUM, an
// unknown source the internal one, a multiplier the largest step not above
// it, an unknown waveform sine.
void BringModulationIntoRange(GeneratorSection& g);

}  // namespace qx40
