// The controls of the FFT settings dialog: their names, their captions in
// both languages, the FFT settings they show and what an edit of each asks
// of the apply step. The dialog only maps its widgets to these.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "scope/scope_state.h"

namespace qx40 {

struct FftText {
    std::string_view english;
    std::string_view russian;
    std::string_view In(bool russianText) const { return russianText ? russian : english; }
};

enum class FftControl : std::uint8_t { Size, Win, Scale, dbv_v, Mdl, Dither };

struct FftControlInfo {
    FftControl control;
    std::string_view name;  // objectName
    FftText caption;        // a radio group's title or a check box's text
    std::span<const FftText> items;  // a radio group's items in value order; empty for a check box
};

// Every control, in the dialog's order.
std::span<const FftControlInfo> FftControls();

// What an edit asks of the apply step.
enum class FftEditEffect : std::uint8_t {
    Redraw,       // only the read-outs change: ApplySettings
    NewSpectrum,  // restart the average and compute a new spectrum, then ApplySettings
    Restart,      // the instrument must see it: ApplyAndRestart
};

// The item a radio group shows (for a value out of range, the one the
// analyser works with), or 0/1 for a check box.
std::int32_t FftControlValue(const FftSection& fft, FftControl control);
// Stores a control's value (a radio group's item, 0/1 for a check box).
FftEditEffect SetFftControl(FftSection& fft, FftControl control, std::int32_t value);

// The dither check box is a service control (Debug_qx or No_Excuse).
inline bool FftDitherShown(const ScopeState& s) { return s.System.Debug_qx || s.System.No_Excuse; }

}  // namespace qx40
