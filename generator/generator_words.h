// The generator model: the consistency rules of the generator panel and the
// words (mode, waveform, 48-bit phase increments, amplitude) sent to the
// generator registers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "device/device_settings.h"
#include "scope/scope_state.h"

namespace qx40 {

// 2^48 / 10^9: phase increment per 0.1 Hz at the 100 MHz update rate.
inline constexpr double kPhasePerDeciHertz = 281474.976710656;

// What the panel rules decide about the generator controls.
struct GeneratorPanelView {
    bool Range50MVisible = false;
    bool NoiseVisible = true;
    bool FrequencyBarsEnabled = true;
    bool ShapesVisible = true;
    std::array<bool, 5> ShapeEnabled{true, true, true, true, true};  // GenShape order
    std::array<std::string_view, 6> RangeCaptions{};
};

// Runs the panel rules; may move the range or shape buttons of the state.
void ApplyGeneratorPanelRules(GeneratorSection& g, bool extendedRange, bool russian,
                              GeneratorPanelView& view);

bool IsNoiseSelected(const GeneratorSection& g);

// Base values in 0.1 Hz (S, D, F) and 10 ns ticks (P, W), range applied.
struct GeneratorBase {
    std::int64_t S = 0;  // sweep start
    std::int64_t D = 0;  // sweep span
    std::int64_t F = 0;  // plain and modulation frequency
    std::int64_t P = 0;  // pulse period
    std::int64_t W = 0;  // pulse width
    bool Z = false;      // both frequency bars at 0 outside noise
};
GeneratorBase ComputeGeneratorBase(const GeneratorSection& g);

// "round": add 0.5 and truncate toward zero.
std::int64_t RoundGeneratorWord(double x);

// Writes registers 96..117. The second word and the modulation word are
// only rewritten by the modes that define them; otherwise they keep what
// the image held.
void PlaceGeneratorWords(const GeneratorSection& g, std::int32_t postTrigCount, DeviceSettings& regs);

}  // namespace qx40
