// Control states that follow from the scope state on every apply (captions
// with the probe factor, enables); the front end copies them to its widgets.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "generator/generator_words.h"

namespace qx40 {

struct PanelView {
    std::array<std::string_view, 6> VoltsCaptionsA1{};  // VoltsDiv order
    std::array<std::string_view, 6> VoltsCaptionsA2{};
    std::string VoltsDivCaptionA1;  // SpeedButton_VoltsDiv_A1
    std::string VoltsDivCaptionA2;
    bool StayOnTop = false;
    bool LentaEnabled = false;  // Menu_Lenta
    bool SweepEnabled = true;   // SpeedButton_Sweep
    GeneratorPanelView Generator;
};

}  // namespace qx40
