// The read-outs of the spectrum view: the scale and span in the title row,
// frequencies at the markers and the peak of the analysed channel.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "screen/readout_writer.h"
#include "spectrum/spectrum_mode.h"

namespace qx40 {
namespace {

constexpr std::array<const char*, 4> kLongScaleLabels = {" dBV", " dBm (50 ohm)", " dBm (75 ohm)",
                                                         " dBm (600 ohm)"};

std::size_t ScaleIndex(const ScopeState& s) { return static_cast<std::size_t>(std::clamp(s.FFT.Scale, 0, 3)); }
const char* ShortUnit(const ScopeState& s) { return ScaleIndex(s) == 0 ? " dBV" : " dBm"; }
// dBV values read as volts instead of decibels.
bool ShowsVolts(const ScopeState& s) { return s.FFT.Scale == 0 && s.FFT.dbv_v; }

// The Nyquist frequency of the main record; 0 when its sample period is unknown.
double Nyquist(const FrameInfo& f) { return f[fi::Divider] > 0 ? 1e8 / (2.0 * f[fi::Divider]) : 0.0; }

// A level in dB as the user wants to read it.
std::string LevelText(const ReadoutWriter& w, double db) {
    const ScopeState& s = w.In().State;
    if (ShowsVolts(s)) return w.Value(std::pow(10.0, 0.05 * db) * 1e6, ValueKind::Voltage, -4);
    return w.Fixed(db, 2) + ShortUnit(s);
}

}  // namespace

void AppendSpectrumTitleRow(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const ScopeState& s = in.State;
    const SpectrumReadout& sp = in.Spectrum;
    const std::int32_t row = w.Row(0);
    const SpectrumMenus menus = ResolveSpectrumMenus(s);
    if (menus.ViewA1 && HasFeature(s.System.Device_Type_Code, feature::kSecondAnalog))
        w.Add(w.Col(2), row, w.Colour(ColourSlot::CH_A1), "  A1");
    if (menus.ViewA2) w.Add(w.Col(2), row, w.Colour(ColourSlot::CH_A2), "  A2");

    const std::uint32_t fft = w.Colour(ColourSlot::FFT);
    const std::int32_t n = 1024 << std::clamp(sp.SizeIndex, 0, 5);
    w.Add(w.Col(3) - 10, row, fft, "N " + std::to_string(n));
    const char* label = kLongScaleLabels[ScaleIndex(s)];
    w.Add(w.Col(0), row, fft, (sp.PeakValid ? std::to_string(sp.TopDb) : std::string("...")) + label);
    const double fn = Nyquist(in.Main);
    w.Add(w.Col(4), row, fft, fn > 0 ? "Span " + w.Value(fn, ValueKind::Frequency, -3) : "Span ...");
    w.Add(w.Col(5), row, fft, std::string("10") + ShortUnit(s) + "/Div");
}

void AppendSpectrumMarkerRow(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const CommonSection& c = in.State.Common;
    const double fn = Nyquist(in.Main);
    const std::int32_t row = w.Row(2);
    const std::uint32_t markers = w.Colour(ColourSlot::Markers), fft = w.Colour(ColourSlot::FFT);
    const auto at = [&](std::int32_t x) { return x * 0.002 * fn; };
    const auto text = [&](const char* label, double hz) {
        return std::string(label) + " = " + (fn > 0 ? w.Value(hz, ValueKind::Frequency, -4) : std::string("..."));
    };
    if (in.Derived.MarkerMode == 1) {
        w.Add(w.Col(0), row, markers, text("F", at(c.Marker_x)));
        w.Add(w.Col(0), row, fft, "F");
        return;
    }
    double f1 = at(c.Marker1_x), f2 = at(c.Marker2_x);
    if (f1 > f2) std::swap(f1, f2);
    w.Add(w.Col(0), row, markers, text("F1", f1));
    w.Add(w.Col(2), row, markers, text("F2", f2));
    w.Add(w.Col(4), row, markers, text("dF", std::abs(f2 - f1)));
    w.Add(w.Col(0), row, fft, "F1");
    w.Add(w.Col(2), row, fft, "F2");
    w.Add(w.Col(4), row, fft, "dF");
}

void AppendSpectrumChannelRow(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const ScopeState& s = in.State;
    const SpectrumReadout& sp = in.Spectrum;
    const bool a1 = in.SpectrumMode == kSpectrumA1;
    if (!(a1 ? s.Common.CH_A1 : s.Common.CH_A2)) return;
    const std::int32_t row = w.Row(a1 ? 3 : 4);
    const std::uint32_t colour = w.Colour(a1 ? ColourSlot::CH_A1 : ColourSlot::CH_A2);
    const std::uint32_t fft = w.Colour(ColourSlot::FFT);

    if (s.Common.Measure) {
        const double fn = Nyquist(in.Main);
        if (sp.PeakValid && fn > 0) {
            w.Add(w.Col(0), row, colour, "Vp = " + LevelText(w, sp.PeakLevel));
            w.Add(w.Col(2), row, colour, "Fp = " + w.Value(sp.PeakFreq * fn, ValueKind::Frequency, -6));
        } else {
            w.Add(w.Col(0), row, colour, "Vp = ...");
            w.Add(w.Col(2), row, colour, "Fp = ...");
        }
        const bool averaging = sp.AverageCount != 1;
        if (averaging) w.Add(w.Col(4), row, colour, "Aver.N = " + std::to_string(sp.AverageCount));
        w.Add(w.Col(0), row, fft, "Vp =");
        w.Add(w.Col(2), row, fft, "Fp =");
        if (averaging) w.Add(w.Col(4), row, fft, "Aver.N = ");
    }

    const CommonSection& c = s.Common;
    const std::uint32_t markers = w.Colour(ColourSlot::Markers);
    constexpr double kDbPerCode = 80.0 / 256.0;
    if (in.Derived.MarkerMode == 1) {
        const double level = sp.TopDb - c.Marker_y * kDbPerCode;
        w.Add(w.Col(5), row, markers, "V = " + LevelText(w, level));
        w.Add(w.Col(5), row, fft, "V =");
    } else if (in.Derived.MarkerMode == 2) {
        const double diff = std::abs(c.Marker1_y - c.Marker2_y) * kDbPerCode;
        w.Add(w.Col(5), row, markers, "dV = " + w.Fixed(diff, 2) + ShortUnit(s));
        w.Add(w.Col(5), row, fft, "dV =");
    }
}

}  // namespace qx40
