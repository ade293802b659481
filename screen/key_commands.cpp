#include "screen/key_commands.h"

#include <cstddef>

namespace qx40 {
namespace {

// One step along an enumeration of count members; nothing past either end.
// True when the value moved.
template <typename E>
bool Step(E& value, int delta, std::size_t count) {
    const auto i = static_cast<std::ptrdiff_t>(IndexOf(value)) + delta;
    if (i < 0 || i >= static_cast<std::ptrdiff_t>(count)) return false;
    value = static_cast<E>(i);
    return true;
}

// F: from A1's spectrum to A2's, from A2's to none, from none to the first
// channel that can show one.
KeyAction SpectrumCycle(const FftSection& fft, SpectrumItemsEnabled enabled) {
    if (fft.View_A1) return enabled.A2 ? KeyAction::ClickMenu_FFT_A2 : KeyAction::ClickMenu_FFT_A1;
    if (fft.View_A2) return KeyAction::ClickMenu_FFT_A2;
    if (enabled.A1) return KeyAction::ClickMenu_FFT_A1;
    if (enabled.A2) return KeyAction::ClickMenu_FFT_A2;
    return KeyAction::None;
}

}  // namespace

KeyAction KeyDown(ScopeState& state, Key key, bool shift, SpectrumItemsEnabled spectrum) {
    ScopeSection& sc = state.Scope;
    VoltsDiv& volts = shift ? sc.A2 : sc.A1;
    // A new range rescales the trigger levels as the range buttons do, so
    // that they keep their voltage.
    bool& rangeChanged = shift ? state.VoltsDivChangedA2 : state.VoltsDivChangedA1;
    // Time bases run slowest first, volts/div largest first.
    switch (key) {
        case Key::F: return SpectrumCycle(state.FFT, spectrum);
        case Key::Space: return KeyAction::ClickSpeedButton_Run;
        case Key::Enter: return KeyAction::ClickSpeedButton_Sngl;
        case Key::Left: Step(sc.TimebaseIndex, -1, kTimebaseCount); break;
        case Key::Right: Step(sc.TimebaseIndex, +1, kTimebaseCount); break;
        case Key::Up:
            if (Step(volts, -1, kVoltsDivCount)) rangeChanged = true;
            break;
        case Key::Down:
            if (Step(volts, +1, kVoltsDivCount)) rangeChanged = true;
            break;
        case Key::Other: return KeyAction::None;
    }
    return KeyAction::ApplyAndRestart;
}

}  // namespace qx40
