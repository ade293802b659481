// Whether a refresh shows a spectrum, of which channel, or why it cannot.
#pragma once

#include <cstdint>
#include <string>

#include "device/frame_info.h"
#include "scope/scope_state.h"

namespace qx40 {

enum SpectrumModeValue : std::int32_t {
    kSpectrumOff = 0,
    kSpectrumA1 = 1,
    kSpectrumA2 = 2,
    kSpectrumTooFewA1 = 3,
    kSpectrumTooFewA2 = 4,
    kSpectrumPeakDetect = 5,
};

inline bool ShowsSpectrum(std::int32_t mode) { return mode == kSpectrumA1 || mode == kSpectrumA2; }

// The spectrum menu items as the screen must treat them: an item is enabled
// only while its channel is shown, and an item of a hidden channel is off.
struct SpectrumMenus {
    bool EnabledA1 = false;
    bool EnabledA2 = false;
    bool ViewA1 = false;
    bool ViewA2 = false;
};
SpectrumMenus ResolveSpectrumMenus(const ScopeState& s);

// 0 off, 1/2 spectrum of A1/A2, 3/4 too few samples of A1/A2 (or the
// channel missing from the frame), 5 peak-detect frame; A2 wins over A1.
std::int32_t ComputeSpectrumMode(const SpectrumMenus& menus, const FrameInfo& main);

// The FFT size index 0..5 (N = 2^(10 + index)) for the Size setting; Size 6
// follows the valid sample count.
std::int32_t SpectrumSizeIndexFor(std::int32_t size, std::int32_t validPoints);

// Why no spectrum is shown, for modes 3, 4 and 5; empty for the others.
std::string SpectrumMessageText(std::int32_t mode, bool twoAnalog, bool russian);

}  // namespace qx40
