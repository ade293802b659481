// The colour dialog's row for each colour slot: the names of its button and
// of the panel that shows the colour, and the button's caption in both
// languages. A model without a second analog (digital) channel names the
// first one without its number and shows no row for the second.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/colour_slots.h"

namespace qx40 {

struct ColourSlotRow {
    ColourSlot slot;
    std::string_view button;  // objectName
    std::string_view panel;   // objectName
    std::string_view english;
    std::string_view russian;
    // A model without this feature bit (scope_state.h) uses the short
    // captions; 0 for none.
    std::int32_t shortWithout = 0;
    std::string_view englishShort = {};
    std::string_view russianShort = {};
    // The row is shown only on a model with this feature bit; 0 for every model.
    std::int32_t shownWith = 0;
};

// The twelve rows, in slot order.
std::span<const ColourSlotRow> ColourSlotRows();

std::string_view ColourSlotCaption(const ColourSlotRow& row, bool russian, std::int32_t deviceTypeCode);
bool ColourSlotShown(const ColourSlotRow& row, std::int32_t deviceTypeCode);

}  // namespace qx40
