// Trigger levels and zero lines that belong to one record; the background
// record keeps its own so that its traces stay where they were captured.
#pragma once

#include <cstdint>

namespace qx40 {

struct RecordLevels {
    double Lev_A1 = 191.0;
    double Lev_A2 = 63.0;
    std::int32_t A1_Zero = 191;
    std::int32_t A2_Zero = 63;
};

}  // namespace qx40
