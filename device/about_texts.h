// The lines of the About box in one language: the product and the model the
// instrument reported, the program's version, the instrument's firmware and
// FPGA versions and its serial number, each with "..." until it is known.
#pragma once

#include <string>

#include "device/device_facts.h"
#include "device/link_flags.h"
#include "scope/scope_state.h"

namespace qx40 {

struct AboutTexts {
    std::string title;        // the window's caption
    std::string productName;  // ProductName
    std::string version;      // Version: the program's own
    std::string firmware;     // Version1
    std::string fpga;         // Version2
    std::string serial;       // Label_SN
    bool serialShown = false;  // only in debug mode (Debug_qx)
};

// In the language of state.Common.Russian.
AboutTexts MakeAboutTexts(const DeviceFacts& facts, const LinkFlags& flags, const ScopeState& state);

}  // namespace qx40
