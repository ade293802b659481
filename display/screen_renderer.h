// One screen refresh: everything the display step draws into the off-screen
// bitmap, from clearing the grid to the zero marks, taken from an explicit
// input so that it runs headless. The window asks the model question, keeps
// the caption and the scroll range, copies the bitmap to the paint area and
// colours its panels itself.
#pragma once

#include <QImage>
#include <cstdint>

#include "scope/derived_quantities.h"
#include "scope/record_levels.h"
#include "device/sample_record.h"
#include "scope/scope_state.h"
#include "device/usb_stats.h"
#include "display/activity_indicator.h"
#include "screen/screen_geometry.h"
#include "spectrum/spectrum_analyzer.h"
#include "spectrum/spectrum_mode.h"
#include "screen/trace_columns.h"

namespace qx40 {

// The trigger level the pointer is dragging, whose level lines are shown.
enum class DraggedLevel : std::uint8_t { None, A1, A2 };

struct ScreenInput {
    const ScopeState& State;           // settings as the menus and buttons show them
    const DerivedQuantities& Derived;  // of the last apply
    const SampleRecord& Main;
    const SampleRecord& Background;
    RecordLevels BackgroundLevels{};  // the background record's own zero lines
    ScreenGeometry Geometry{};      // of the bitmap's size (ComputeScreenGeometry)
    std::int32_t ScrollIndex = 0;   // ScrollBar_X_POS, already reset when beyond the valid count
    bool BgLaneSwap = false;
    DraggedLevel Dragging = DraggedLevel::None;
    LinkCounters LinkPerSecond{};
    std::int32_t VccCentivolts = -1;  // -1 while unknown
    ActivityEvents Activity{};        // IndicatorFrame / IndicatorStatus (the caller clears them), RUN or SINGLE
    bool SpectrumNewData = false;     // NewFrameData or SpectrumRequest: recompute the spectrum
    bool SettingsChanged = false;     // restarts the spectrum average
    char DecimalSeparator = '.';      // the user's locale's
};

struct ScreenOutput {
    SpectrumMenus Menus{};          // enabled and checked states of Menu_FFT_A1 / Menu_FFT_A2
    std::int32_t SpectrumMode = 0;  // kSpectrumOff .. kSpectrumPeakDetect
    std::int32_t SpectrumSizeIndex = 0;
    // The spectrum was recomputed: clear NewFrameData, SpectrumRequest and SettingsChanged.
    bool SpectrumComputed = false;
    // First background slot shown at the left edge by the last refresh that
    // drew the background (kept by Menu_BG_DoClick's view).
    std::int32_t BackgroundStart = 0;
};

class ScreenRenderer {
public:
    // Draws the whole screen into `image` (made RGB32 if it is not).
    ScreenOutput Render(const ScreenInput& in, QImage& image);

    // The wheel alone, for a status frame that arrives without a refresh.
    void DrawActivityOnly(QImage& image, const ScreenGeometry& g, const ColourSlots& colours,
                          const ActivityEvents& events);

    const ActivityIndicatorState& Activity() const { return activity_; }
    // The last spectrum computed (kept between refreshes that do not recompute it).
    const SpectrumResult& Spectrum() const { return spectrum_.Result(); }

private:
    TraceColumns columns_;  // scratch, reused by every trace
    ActivityIndicatorState activity_;
    SpectrumAnalyzer spectrum_;
    std::int32_t backgroundStart_ = 0;
};

}  // namespace qx40
