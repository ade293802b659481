#include "display/screen_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/blend_color.h"
#include "display/canvas.h"
#include "display/readout_painter.h"
#include "display/screen_context.h"
#include "display/screen_marks.h"
#include "display/spectrum_drawing.h"
#include "display/trace_renderer.h"

namespace qx40 {
namespace {

constexpr std::array<ColourSlot, kChannelCount> kChannelSlots = {ColourSlot::CH_A1, ColourSlot::CH_A2,
                                                                 ColourSlot::CH_D1, ColourSlot::CH_D2};
// Traces are drawn D2 first so that A1 ends on top.
constexpr std::array<Channel, kChannelCount> kDrawOrder = {kD2, kD1, kA2, kA1};

bool Shown(const CommonSection& c, Channel ch) {
    switch (ch) {
        case kA1: return c.CH_A1;
        case kA2: return c.CH_A2;
        case kD1: return c.CH_D1;
        case kD2: return c.CH_D2;
    }
    return false;
}

// Pixels per sample of a record with this sample period; 0 when unknown.
double PixelsPerSample(std::int32_t divider, const ScreenGeometry& g, std::int64_t timePerDivNs) {
    if (divider <= 0 || timePerDivNs <= 0) return 0.0;
    return divider * (g.Px * 10.0) / static_cast<double>(timePerDivNs);
}

// Record slotCount that may be read: never more than the buffers hold.
std::int32_t ReadableCount(const SampleRecord& r, Channel ch) {
    const std::size_t slotCount = std::min(r.Min[ch].size(), r.Max[ch].size());
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(r.Info[fi::RingLength], 0, static_cast<std::int64_t>(slotCount)));
}

// Codes of the record's volts/div in codes of today's volts/div.
double AnalogGain(std::int32_t recordMicroVolts, std::int32_t nowMicroVolts) {
    if (recordMicroVolts <= 0 || nowMicroVolts <= 0) return 1.0;
    return static_cast<double>(recordMicroVolts) / nowMicroVolts;
}

// Lane placement of the digital traces and their trigger-source marks: a
// lane of its own, or half of it when the background shares it.
struct Lanes {
    double gain = 24.0;
    std::array<double, 2> liveOffset = {4, 36};  // D1, D2
    std::array<double, 2> bgOffset = {2, 34};
    std::int32_t liveMarkD1 = 15;
    std::int32_t bgMarkD1 = 7;
};

Lanes LanesFor(bool bgShown, bool swap) {
    Lanes l;
    if (!bgShown) return l;
    l.gain = 12.0;
    l.liveOffset = swap ? std::array<double, 2>{2, 34} : std::array<double, 2>{18, 50};
    l.bgOffset = swap ? std::array<double, 2>{18, 50} : std::array<double, 2>{2, 34};
    l.liveMarkD1 = swap ? 7 : 23;
    l.bgMarkD1 = swap ? 23 : 7;
    return l;
}

// One refresh: the input, the canvas and what the steps share.
class Refresh {
public:
    Refresh(const ScreenInput& in, QImage& image, TraceColumns& columns)
        : in_(in), s_(in.State), canvas_(image), columns_(columns) {
        ctx_.Geometry = in.Geometry;
        ctx_.Colors = s_.Colors;
        ctx_.TimePerDivNs = in.Derived.TimePerDivNs;
        ctx_.ScrollIndex = in.ScrollIndex;
        ctx_.VoltsDivA1 = in.Derived.VoltsDivA1;
        ctx_.VoltsDivA2 = in.Derived.VoltsDivA2;
        ctx_.Debug = s_.System.Debug_qx;
        ctx_.DecimalSeparator = in.DecimalSeparator;
        bgShown_ = in.Background.HasData() && s_.View.BG_View;
        lanes_ = LanesFor(bgShown_, in.BgLaneSwap);
    }

    Canvas& canvas() { return canvas_; }
    const ScreenContext& ctx() const { return ctx_; }
    bool BackgroundShown() const { return bgShown_; }

    void ClearGrid() {
        const ScreenGeometry& g = ctx_.Geometry;
        const std::uint32_t bg = s_.Colors[ColourSlot::Background];
        canvas_.SetPen(bg);
        canvas_.SetBrush(bg);
        canvas_.Rectangle(g.X0, g.Y0, g.X0 + g.W + 1, g.Y0 + g.H + 1);
    }

    void GridAndTriggerLine() {
        if (s_.Common.Grid) DrawGrid(canvas_, ctx_);
        if (s_.Common.TrigPosL) DrawTriggerPositionLine(canvas_, ctx_, in_.Main.Info);
    }

    // Channel colours, the background's at half strength; with a spectrum
    // shown both step down once more so that the spectrum stands out.
    void ChooseColours(bool spectrum) {
        const std::uint32_t background = s_.Colors[ColourSlot::Background];
        for (std::size_t ch = 0; ch < kChannelCount; ++ch) {
            live_[ch] = s_.Colors[kChannelSlots[ch]];
            bg_[ch] = BlendColor(live_[ch], background, 2.0);
            if (spectrum) {
                live_[ch] = BlendColor(live_[ch], background, 2.0);
                bg_[ch] = BlendColor(bg_[ch], background, 2.0);
            }
        }
    }

    // Returns the first background slot shown, when the background was drawn.
    std::optional<std::int32_t> BackgroundTraces() {
        if (!bgShown_) return std::nullopt;
        const SampleRecord& b = in_.Background;
        const FrameInfo& bi = b.Info;
        const FrameInfo& mi = in_.Main.Info;
        const double dxB = PixelsPerSample(bi[fi::Divider], ctx_.Geometry, ctx_.TimePerDivNs);

        // Line the background's trigger slot up with the live one at every scroll position.
        std::int32_t start = in_.ScrollIndex;
        double frac = 0.0;
        if (in_.Main.HasData()) {
            const double ratio = bi[fi::Divider] > 0 ? static_cast<double>(mi[fi::Divider]) / bi[fi::Divider] : 1.0;
            const double p = std::clamp(
                bi[fi::PreTrigger] + (static_cast<double>(in_.ScrollIndex) - mi[fi::PreTrigger]) * ratio, -1e9, 1e9);
            start = static_cast<std::int32_t>(std::trunc(p));
            frac = p - start;
        }
        for (const Channel ch : kDrawOrder) {
            if (!Shown(s_.Common, ch) || !(dxB < ctx_.Geometry.W)) continue;
            TraceParams p = Params(b, ch, dxB, start);
            p.Sub += frac;
            p.Colour = bg_[ch];
            if (ch == kD1 || ch == kD2) {
                p.Gain = 12.0;
                p.Offset = lanes_.bgOffset[ch - kD1];
            } else {
                const bool a1 = ch == kA1;
                p.Gain = AnalogGain(bi[a1 ? fi::VoltsDivA1 : fi::VoltsDivA2], a1 ? ctx_.VoltsDivA1 : ctx_.VoltsDivA2);
                p.Offset = (a1 ? in_.BackgroundLevels.A1_Zero : in_.BackgroundLevels.A2_Zero) + 1;
            }
            Trace(p);
        }
        return start;
    }

    void LiveTraces() {
        const SampleRecord& m = in_.Main;
        if (!m.HasData()) return;
        const double dx = PixelsPerSample(m.Info[fi::Divider], ctx_.Geometry, ctx_.TimePerDivNs);
        for (const Channel ch : kDrawOrder) {
            if (!Shown(s_.Common, ch)) continue;
            TraceParams p = Params(m, ch, dx, in_.ScrollIndex);
            p.Colour = live_[ch];
            p.RollMark = true;
            if (ch == kD1 || ch == kD2) {
                p.Gain = lanes_.gain;
                p.Offset = lanes_.liveOffset[ch - kD1];
            } else {
                const bool a1 = ch == kA1;
                p.Gain = AnalogGain(m.Info[a1 ? fi::VoltsDivA1 : fi::VoltsDivA2], a1 ? ctx_.VoltsDivA1 : ctx_.VoltsDivA2);
                p.Offset = (a1 ? s_.Scope.A1_Zero : s_.Scope.A2_Zero) + 1;
            }
            Trace(p);
        }
    }

    void TriggerPoint(bool spectrum) {
        TriggerPointView v;
        v.ShowA1 = s_.Common.CH_A1;
        v.ShowA2 = s_.Common.CH_A2;
        v.ShowD1 = s_.Common.CH_D1;
        v.ShowD2 = s_.Common.CH_D2;
        v.A1_Zero = s_.Scope.A1_Zero;
        v.A2_Zero = s_.Scope.A2_Zero;
        v.SpectrumShown = spectrum;
        DrawTriggerPointMark(canvas_, ctx_, in_.Main.Info, v);
    }

    void Markers() {
        const CommonSection& c = s_.Common;
        DrawMarkers(canvas_, ctx_,
                    {in_.Derived.MarkerMode, c.Marker_x, c.Marker_y, c.Marker1_x, c.Marker1_y, c.Marker2_x, c.Marker2_y});
    }

    // Border around the grid; it also removes whatever a trace drew outside it.
    void Margins() {
        const ScreenGeometry& g = ctx_.Geometry;
        const std::int32_t w = canvas_.Width(), h = canvas_.Height();
        canvas_.SetBrush(s_.Colors[ColourSlot::Border]);
        canvas_.FillRect(0, 0, w, g.Y0);
        canvas_.FillRect(0, g.Y0 + g.H + 1, w, h);
        canvas_.FillRect(0, g.Y0, g.X0, g.Y0 + g.H + 1);
        canvas_.FillRect(g.X0 + g.W + 1, g.Y0, w, g.Y0 + g.H + 1);
    }

    void LevelMarks() {
        const std::int32_t hyst = s_.Trigger.Hyst;
        if (s_.Common.CH_A2)
            DrawTriggerLevelMark(canvas_, ctx_, s_.Trigger.Lev_A2, hyst, in_.Dragging == DraggedLevel::A2,
                                 s_.Colors[ColourSlot::CH_A2]);
        if (s_.Common.CH_A1)
            DrawTriggerLevelMark(canvas_, ctx_, s_.Trigger.Lev_A1, hyst, in_.Dragging == DraggedLevel::A1,
                                 s_.Colors[ColourSlot::CH_A1]);
    }

    void SourceMarks() {
        if (bgShown_)
            SourceMark(in_.Background.Info, lanes_.bgMarkD1, in_.BackgroundLevels.A1_Zero,
                       in_.BackgroundLevels.A2_Zero, bg_);
        const std::array<std::uint32_t, kChannelCount> plain = {
            s_.Colors[ColourSlot::CH_A1], s_.Colors[ColourSlot::CH_A2], s_.Colors[ColourSlot::CH_D1],
            s_.Colors[ColourSlot::CH_D2]};
        SourceMark(in_.Main.Info, lanes_.liveMarkD1, s_.Scope.A1_Zero, s_.Scope.A2_Zero, plain);
    }

    void ZeroMarks() {
        if (bgShown_) {
            if (s_.Common.CH_A2) DrawZeroMark(canvas_, ctx_, in_.BackgroundLevels.A2_Zero, bg_[kA2]);
            if (s_.Common.CH_A1) DrawZeroMark(canvas_, ctx_, in_.BackgroundLevels.A1_Zero, bg_[kA1]);
        }
        if (s_.Common.CH_A2) DrawZeroMark(canvas_, ctx_, s_.Scope.A2_Zero, s_.Colors[ColourSlot::CH_A2]);
        if (s_.Common.CH_A1) DrawZeroMark(canvas_, ctx_, s_.Scope.A1_Zero, s_.Colors[ColourSlot::CH_A1]);
    }

    void Trace(const TraceParams& p) {
        // A record without a known sample period has no place on the time axis.
        if (!(p.Dx > 0) || !std::isfinite(p.Dx)) return;
        DrawTrace(canvas_, ctx_, p, columns_);
    }

private:
    TraceParams Params(const SampleRecord& r, Channel ch, double dx, std::int32_t first) const {
        TraceParams p;
        const bool digital = ch == kD1 || ch == kD2;
        p.Mode = digital ? std::min(in_.Derived.DrawMode, 1) : in_.Derived.DrawMode;
        p.Low = r.Min[ch].data();
        p.High = r.Max[ch].data();
        p.Count = ReadableCount(r, ch);
        if (!digital) p.Zero = r.Info[ch == kA1 ? fi::ZeroA1 : fi::ZeroA2];
        p.Dx = dx;
        p.First = first;
        p.Sub = 0.1 * r.Info[fi::TrigFine + ch];
        p.Info = &r.Info;
        return p;
    }

    void SourceMark(const FrameInfo& info, std::int32_t markD1, std::int32_t zeroA1, std::int32_t zeroA2,
                    const std::array<std::uint32_t, kChannelCount>& colours) {
        switch (info[fi::TrigSource]) {
            case 4: return DrawTriggerSourceMark(canvas_, ctx_, markD1 + 32, info, colours[kD2]);
            case 3: return DrawTriggerSourceMark(canvas_, ctx_, markD1, info, colours[kD1]);
            case 2: return DrawTriggerSourceMark(canvas_, ctx_, zeroA2, info, colours[kA2]);
            case 1: return DrawTriggerSourceMark(canvas_, ctx_, zeroA1, info, colours[kA1]);
            default: return;
        }
    }

    const ScreenInput& in_;
    const ScopeState& s_;
    Canvas canvas_;
    TraceColumns& columns_;
    ScreenContext ctx_;
    bool bgShown_ = false;
    Lanes lanes_;
    std::array<std::uint32_t, kChannelCount> live_{};
    std::array<std::uint32_t, kChannelCount> bg_{};
};

SpectrumReadout ReadoutValues(const SpectrumResult& r) {
    return {.SizeIndex = r.SizeIndex,
            .TopDb = r.TopDb,
            .PeakValid = r.PeakValid,
            .PeakFreq = r.PeakFreq,
            .PeakLevel = r.PeakLevel,
            .AverageCount = r.AverageCount};
}

}  // namespace

ScreenOutput ScreenRenderer::Render(const ScreenInput& in, QImage& image) {
    ScreenOutput out;
    if (image.isNull()) return out;
    const ScopeState& s = in.State;
    Refresh r(in, image, columns_);

    r.ClearGrid();
    out.Menus = ResolveSpectrumMenus(s);
    out.SpectrumMode = ComputeSpectrumMode(out.Menus, in.Main.Info);
    const bool spectrum = ShowsSpectrum(out.SpectrumMode);

    r.ChooseColours(spectrum);
    if (!spectrum) r.GridAndTriggerLine();
    if (const auto start = r.BackgroundTraces()) backgroundStart_ = *start;
    out.BackgroundStart = backgroundStart_;
    r.LiveTraces();
    if (s.Common.Trig_PT) r.TriggerPoint(spectrum);

    if (spectrum) {
        const FrameInfo& mi = in.Main.Info;
        out.SpectrumSizeIndex = SpectrumSizeIndexFor(s.FFT.Size, mi[fi::ValidPoints]);
        // Only new data or a request recomputes it; otherwise the last one is redrawn.
        if (in.SpectrumNewData) {
            const bool a1 = out.SpectrumMode == kSpectrumA1;
            const SpectrumArgs args{.SizeIndex = out.SpectrumSizeIndex,
                                    .Window = s.FFT.Win,
                                    .Scale = s.FFT.Scale,
                                    .Averaging = mi[fi::ValidPoints] == mi[fi::RingLength] && s.FFT.Mdl &&
                                                 !in.SettingsChanged};
            spectrum_.ComputeSpectrum(args, in.Main.Min[a1 ? kA1 : kA2], mi[a1 ? fi::VoltsDivA1 : fi::VoltsDivA2],
                                      mi);
            out.SpectrumComputed = true;
        }
        r.GridAndTriggerLine();
        const SpectrumResult& result = spectrum_.Result();
        DrawSpectrumTrace(r.canvas(), r.ctx(), result.Columns.data(), static_cast<std::int32_t>(result.Columns.size()),
                          mi, columns_);
    }

    r.Markers();
    DrawSpectrumMessage(r.canvas(), r.ctx(), out.SpectrumMode,
                        HasFeature(s.System.Device_Type_Code, feature::kSecondAnalog), s.Common.Russian);
    r.Margins();
    DrawFrame(r.canvas(), r.ctx());
    DrawActivityIndicator(r.canvas(), r.ctx(), activity_, in.Activity);

    const ReadoutInput readouts{.State = s,
                                .Derived = in.Derived,
                                .Main = in.Main.Info,
                                .Geometry = in.Geometry,
                                .ScrollIndex = in.ScrollIndex,
                                .SpectrumMode = out.SpectrumMode,
                                .Spectrum = ReadoutValues(spectrum_.Result()),
                                .Link = in.LinkPerSecond,
                                .VccCentivolts = in.VccCentivolts,
                                .DecimalSeparator = in.DecimalSeparator};
    DrawReadouts(r.canvas(), readouts);

    r.LevelMarks();
    r.SourceMarks();
    r.ZeroMarks();
    return out;
}

void ScreenRenderer::DrawActivityOnly(QImage& image, const ScreenGeometry& g, const ColourSlots& colours,
                                      const ActivityEvents& events) {
    Canvas canvas(image);
    ScreenContext ctx;
    ctx.Geometry = g;
    ctx.Colors = colours;
    DrawActivityIndicator(canvas, ctx, activity_, events);
}

}  // namespace qx40
