// The ranges of the trigger values, as the trigger dialog's controls hold
// them. The settings reader brings a hand-edited file into the same ranges.
#pragma once

#include <array>
#include <cstdint>

#include "base/value_range.h"
#include "scope/scope_state.h"

namespace qx40 {

struct TriggerRanges {
    ValueRange Pre{0, 9};           // RadioGroup_PreTrig items
    ValueRange Hyst{0, 5};          // RadioGroup_NR items
    ValueRange N{1, 255};           // ScrollBar_Trig_N
    ValueRange PTmin{0, 999};       // ScrollBar_Trig_PTmin
    ValueRange PTmax{1, 1000};      // ScrollBar_Trig_PTmax
    ValueRange Slew{0, 255};        // ScrollBar_Trig_Slew
    std::int32_t LargeChange = 10;  // of every scroll bar
    // The multiplier buttons' steps, in 10 ns ticks: full scale 10 us .. 1 s.
    std::array<std::int32_t, 6> PTmult{1, 10, 100, 1000, 10000, 100000};
};

inline constexpr TriggerRanges kTriggerRanges{};

// Values as the dialog's controls can hold them: a hand-edited file must not
// send the instrument a pre-trigger longer than the record, a count of 0 or
// an empty pulse window.
void BringTriggerIntoRange(TriggerSection& t);

}  // namespace qx40
