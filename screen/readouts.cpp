#include "screen/readouts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "screen/readout_writer.h"
#include "base/round_nearest.h"
#include "spectrum/spectrum_mode.h"

namespace qx40 {
namespace {

// The generator sweep as the record saw it: its frequency at the trigger
// point and how fast it rises over the part of the record after it.
struct Sweep {
    double start = 0.0;  // Hz
    double slope = -1.0;  // Hz per ns; negative when there is none

    double At(double t) const { return t > 0 ? start + t * slope : start; }
};

Sweep SweepOf(const FrameInfo& f) {
    Sweep s;
    s.start = 0.1 * f[fi::GenFreq];
    const std::int64_t after = std::int64_t{f[fi::RingLength]} - f[fi::PreTrigger];
    if (after != 0 && f[fi::GenSpan] != 0 && f[fi::Divider] != 0)
        s.slope = (0.1 * f[fi::GenSpan]) / static_cast<double>(after) / (f[fi::Divider] * 10.0);
    return s;
}

bool SweepDown(const ScopeState& s) { return s.Generator.Mode == GenMode::F_Sweep; }

void AppendTitleRow(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const ScopeState& s = in.State;
    const DerivedQuantities& d = in.Derived;
    const std::int32_t row = w.Row(0);
    if (s.Common.CH_A1) w.Add(w.Col(0), row, w.Colour(ColourSlot::CH_A1), w.Value(d.VoltsDivA1, ValueKind::Voltage, 0));
    if (s.Common.CH_A2) w.Add(w.Col(1), row, w.Colour(ColourSlot::CH_A2), w.Value(d.VoltsDivA2, ValueKind::Voltage, 0));
    std::string time = w.Value(static_cast<double>(d.TimePerDivNs), ValueKind::Time, 0);
    if (in.Main[fi::PeakDetect] != 0) time += "    p.d.";
    w.Add(w.Col(2), row, w.Colour(ColourSlot::Grid_Frame), std::move(time));

    if (d.TriggerCount == 0) return;
    const std::int32_t code = s.System.Device_Type_Code;
    const auto level = [&](double lev, std::int32_t zero, std::int32_t voltsDiv) {
        const std::int32_t codes = std::clamp(RoundNearest(lev), 0, 255) - zero;
        return w.Value(voltsDiv * 0.03125 * codes, ValueKind::Voltage, -4);
    };
    std::string text;
    std::uint32_t colour = w.Colour(ColourSlot::Grid_Frame);
    switch (s.Trigger.Source) {
        case TriggerSource::CH_A1:
            colour = w.Colour(ColourSlot::CH_A1);
            text = (HasFeature(code, feature::kSecondAnalog) ? "Trig. A1  " : "Trig.  ") +
                   level(s.Trigger.Lev_A1, s.Scope.A1_Zero, d.VoltsDivA1);
            break;
        case TriggerSource::CH_A2:
            colour = w.Colour(ColourSlot::CH_A2);
            text = "Trig. A2  " + level(s.Trigger.Lev_A2, s.Scope.A2_Zero, d.VoltsDivA2);
            break;
        case TriggerSource::CH_D1:
            colour = w.Colour(ColourSlot::CH_D1);
            text = HasFeature(code, feature::kSecondDigital) ? "Trig. D1  dig." : "Trig.  dig.";
            break;
        case TriggerSource::CH_D2:
            colour = w.Colour(ColourSlot::CH_D2);
            text = "Trig. D2  dig.";
            break;
        case TriggerSource::None:
            text = "Trig. ";
            break;
    }
    if (s.Trigger.TPLUS) text += "     T+";
    w.Add(w.Col(4), row, colour, std::move(text));
}

// Time of the left grid edge relative to the trigger point, in ns.
double LeftEdgeTime(const ReadoutInput& in) {
    return static_cast<double>(in.Main[fi::Divider]) *
           (static_cast<std::int64_t>(in.ScrollIndex) - in.Main[fi::PreTrigger]) * 10.0;
}

void AppendTimeBase(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const double t0 = LeftEdgeTime(in);
    const Sweep sweep = SweepOf(in.Main);
    std::string text;
    if (SweepDown(in.State))
        text = sweep.slope <= 0 ? "..." : w.Value(sweep.At(t0), ValueKind::Frequency, -5);
    else
        text = w.Value(t0, ValueKind::Time, -5);
    w.Add(w.Col(0), w.Row(1), w.Colour(ColourSlot::Grid_Frame), std::move(text));
}

void AppendExtraInfo(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const std::int32_t divider = in.Main[fi::Divider];
    const std::uint32_t colour = w.Colour(ColourSlot::Extra_Info);
    w.Add(w.Col(2), w.Row(1), colour,
          divider == 0 ? "Fsmpl = ..." : "Fsmpl = " + w.Value(1e8 / divider, ValueKind::Frequency, -3));
    const double divisions = static_cast<double>(divider) * in.Main[fi::ValidPoints] * 10.0 /
                             static_cast<double>(in.Derived.TimePerDivNs);
    w.Add(w.Col(4), w.Row(1), colour, "Div = " + w.Fixed(divisions, 2));
}

void AppendFrequencyMeter(ReadoutWriter& w, bool extraInfoShown) {
    const ReadoutInput& in = w.In();
    const FrameInfo& f = in.Main;
    const std::int32_t code = in.State.System.Device_Type_Code;
    const bool twoAnalog = HasFeature(code, feature::kSecondAnalog);
    const bool twoDigital = HasFeature(code, feature::kSecondDigital);
    const std::int32_t source = f[fi::FmData];
    std::string label = "F = ";
    std::uint32_t colour = w.Colour(ColourSlot::Grid_Frame);
    switch (source) {
        case 1:
            label = twoAnalog ? "F(A1) = " : "F(A) = ";
            colour = w.Colour(ColourSlot::CH_A1);
            break;
        case 2:
            label = "F(A2) = ";
            colour = w.Colour(ColourSlot::CH_A2);
            break;
        case 3:
        case 5:
            label = twoDigital ? "F(D1) = " : "F(D) = ";
            colour = w.Colour(ColourSlot::CH_D1);
            break;
        case 4:
        case 6:
            label = "F(D2) = ";
            colour = w.Colour(ColourSlot::CH_D2);
            break;
        case 7:
            label = "F(T) = ";
            if (extraInfoShown) colour = w.Colour(ColourSlot::Extra_Info);
            break;
        default:
            break;
    }
    const std::int32_t count = f[fi::FmData + 1];
    const std::int32_t gate = f[fi::FmData + 2];
    // A count below 1 cannot come from a measurement: no whole period.
    if (gate <= 0 || count < 1) {
        w.Add(w.Col(5), w.Row(1), colour, label + "...");
        return;
    }
    double hz = (count - 1) * 1e8 / gate * (1.0 + f[fi::FmData + 3] * 0.2e-6);
    if (source == 5 || source == 6) hz *= 8;  // the high-frequency inputs count through a divider of 8
    w.Add(w.Col(5), w.Row(1), colour, label + w.Value(hz, ValueKind::Frequency, -7));
}

void AppendMarkerTimes(ReadoutWriter& w) {
    const ReadoutInput& in = w.In();
    const CommonSection& c = in.State.Common;
    const double t0 = LeftEdgeTime(in);
    const double perPoint = 0.02 * static_cast<double>(in.Derived.TimePerDivNs);
    const auto timeAt = [&](std::int32_t x) { return x * perPoint + t0; };
    const Sweep sweep = SweepOf(in.Main);
    const bool sweepDown = SweepDown(in.State);
    const bool noSlope = sweep.slope < 0;
    const std::uint32_t colour = w.Colour(ColourSlot::Markers);
    const std::int32_t row = w.Row(2);
    const auto freq = [&](const char* label, double hz, int digits) {
        return std::string(label) + (noSlope ? "..." : w.Value(hz, ValueKind::Frequency, digits));
    };

    if (in.Derived.MarkerMode == 1) {
        const double t = timeAt(c.Marker_x);
        w.Add(w.Col(0), row, colour,
              sweepDown ? freq("F = ", sweep.At(t), -5) : "T = " + w.Value(t, ValueKind::Time, -5));
        return;
    }
    double t1 = timeAt(c.Marker1_x), t2 = timeAt(c.Marker2_x);
    if (t1 > t2) std::swap(t1, t2);
    if (sweepDown) {
        const double f1 = sweep.At(t1), f2 = sweep.At(t2);
        w.Add(w.Col(0), row, colour, freq("F1 = ", f1, -5));
        w.Add(w.Col(2), row, colour, freq("F2 = ", f2, -5));
        w.Add(w.Col(4), row, colour, freq("dF = ", std::abs(f2 - f1), -4));
        return;
    }
    const double dt = std::abs(t2 - t1);
    const double inverse = c.Marker1_x != c.Marker2_x && dt > 0 ? 1e9 / dt : -1.0;
    w.Add(w.Col(0), row, colour, "T1 = " + w.Value(t1, ValueKind::Time, -4));
    w.Add(w.Col(2), row, colour, "T2 = " + w.Value(t2, ValueKind::Time, -4));
    w.Add(w.Col(4), row, colour, "dT = " + w.Value(dt, ValueKind::Time, -4));
    w.Add(w.Col(5), row, colour,
          inverse < 0 ? "1/dT = ..." : "1/dT = " + w.Value(inverse, ValueKind::Frequency, -4));
}

struct ChannelWords {
    ColourSlot colour;
    std::size_t voltsWord, zeroWord, sumWord, peakWord;
    std::int32_t voltsDivNow, zeroNow;
    int row;
};

void AppendChannelRow(ReadoutWriter& w, const ChannelWords& ch) {
    const ReadoutInput& in = w.In();
    const FrameInfo& f = in.Main;
    const CommonSection& c = in.State.Common;
    const std::int32_t row = w.Row(ch.row);
    const std::uint32_t colour = w.Colour(ch.colour);
    if (c.Measure) {
        const double perCode = f[ch.voltsWord] * 8.0 / 256.0;  // microvolts per code
        const std::int32_t valid = f[fi::ValidPoints];
        if (valid > 0 && f[ch.peakWord] >= 0) {
            const double mean = static_cast<double>(f[ch.sumWord]) / valid;
            w.Add(w.Col(0), row, colour, "Vpp = " + w.Value(f[ch.peakWord] * perCode, ValueKind::Voltage, -4));
            w.Add(w.Col(2), row, colour, "Vdc = " + w.Value((mean - f[ch.zeroWord]) * perCode, ValueKind::Voltage, -4));
        } else {
            w.Add(w.Col(0), row, colour, "Vpp = ...");
            w.Add(w.Col(2), row, colour, "Vdc = ...");
        }
    }
    const std::int32_t mode = in.Derived.MarkerMode;
    if (mode == 1) {
        const double v = (255.0 - c.Marker_y - ch.zeroNow) * 0.03125 * ch.voltsDivNow;
        w.Add(w.Col(5), row, w.Colour(ColourSlot::Markers), "V = " + w.Value(v, ValueKind::Voltage, -4));
        w.Add(w.Col(5), row, colour, "V = ");
    } else if (mode == 2) {
        const double dv =
            std::abs(static_cast<double>(c.Marker1_y) - c.Marker2_y) * 0.03125 * ch.voltsDivNow;
        w.Add(w.Col(5), row, w.Colour(ColourSlot::Markers), "dV = " + w.Value(dv, ValueKind::Voltage, -4));
        w.Add(w.Col(5), row, colour, "dV = ");
    }
}

}  // namespace

ReadoutLayout MakeReadoutLayout(const ScreenGeometry& g) {
    ReadoutLayout l;
    const std::int32_t r0 = (g.Y0 - 14) / 2;
    l.Row[0] = r0;
    l.Row[1] = g.Y0 + g.H + r0 + 1;
    for (int r = 2; r < 5; ++r) l.Row[r] = l.Row[r - 1] + r0 + 11;
    l.Col[0] = g.X0;
    l.Col[1] = g.X0 + g.W / 8;
    l.Col[2] = g.X0 + g.W / 4;
    l.Col[3] = g.X0 + g.W / 4 + g.W / 8;
    l.Col[4] = g.X0 + 2 * (g.W / 4);
    l.Col[5] = g.X0 + 3 * (g.W / 4);
    l.Font = g.Small ? FontName::Arial : FontName::MsSansSerif;
    l.PixelHeight = g.Small ? 10 : 13;
    return l;
}

std::vector<ScreenText> ComputeReadouts(const ReadoutInput& in) {
    std::vector<ScreenText> out;
    ReadoutWriter w(out, in);
    const ScopeState& s = in.State;
    const bool spectrum = ShowsSpectrum(in.SpectrumMode);

    if (spectrum)
        AppendSpectrumTitleRow(w);
    else
        AppendTitleRow(w);
    AppendTimeBase(w);
    if (s.Common.Extra_Info) AppendExtraInfo(w);
    if (HasFeature(s.System.Device_Type_Code, feature::kFreqMeter)) AppendFrequencyMeter(w, s.Common.Extra_Info);
    if (in.Derived.MarkerMode != 0) {
        if (spectrum)
            AppendSpectrumMarkerRow(w);
        else
            AppendMarkerTimes(w);
    }
    if (spectrum) {
        AppendSpectrumChannelRow(w);
    } else {
        if (s.Common.CH_A1)
            AppendChannelRow(w, {ColourSlot::CH_A1, fi::VoltsDivA1, fi::ZeroA1, fi::SumA1, fi::PeakToPeakA1,
                                 in.Derived.VoltsDivA1, s.Scope.A1_Zero, 3});
        if (s.Common.CH_A2)
            AppendChannelRow(w, {ColourSlot::CH_A2, fi::VoltsDivA2, fi::ZeroA2, fi::SumA2, fi::PeakToPeakA2,
                                 in.Derived.VoltsDivA2, s.Scope.A2_Zero, 4});
    }
    if (s.Common.Extra_Info && (s.System.Debug_qx || s.System.No_Excuse)) AppendDiagnosticLines(w);
    return out;
}

}  // namespace qx40
