#include "display/screen_renderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "base/blend_color.h"
#include "display/canvas.h"

namespace qx40 {
namespace {

// 300 x 200 paint area: grid 240 x 112 at (31, 21), 24 px per division.
class RendererTest : public testing::Test {
protected:
    RendererTest()
        : main_(std::make_unique<SampleRecord>()),
          background_(std::make_unique<SampleRecord>()),
          image_(300, 200, QImage::Format_RGB32) {
        image_.fill(Qt::gray);
        state_.Common.DrawMode = DrawMode::Dots;
        state_.Common.Markers_2 = false;
        state_.Colors[ColourSlot::Border] = 0x202020;
        derived_.DrawMode = 0;
        derived_.MarkerMode = 0;
        derived_.TimePerDivNs = 100;  // 10 samples per division at 10 ns
        derived_.VoltsDivA1 = derived_.VoltsDivA2 = 1000000;
        geometry_ = ComputeScreenGeometry(300, 200);
    }

    // A record of n slots of `code` on A1 at divider 1, trigger at slot pre.
    static void Fill(SampleRecord& r, std::int32_t n, std::int32_t divider, std::int32_t pre, std::int32_t code) {
        r.Info[fi::Divider] = divider;
        r.Info[fi::VoltsDivA1] = r.Info[fi::VoltsDivA2] = 1000000;
        r.Info[fi::ZeroA1] = 191;
        r.Info[fi::ZeroA2] = 63;
        r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = n;
        r.Info[fi::PreTrigger] = pre;
        r.Info[fi::Channels] = 0xF;
        for (std::int32_t i = 0; i < n; ++i) {
            r.Min[kA1][static_cast<std::size_t>(i)] = r.Max[kA1][static_cast<std::size_t>(i)] = code;
        }
    }

    ScreenOutput Render(std::int32_t scroll = 0) {
        const ScreenInput in{.State = state_,
                             .Derived = derived_,
                             .Main = *main_,
                             .Background = *background_,
                             .BackgroundLevels = {},
                             .Geometry = geometry_,
                             .ScrollIndex = scroll,
                             .BgLaneSwap = false,
                             .Dragging = DraggedLevel::None,
                             .LinkPerSecond = {},
                             .VccCentivolts = -1,
                             .Activity = {},
                             .SpectrumNewData = false,
                             .SettingsChanged = false,
                             .DecimalSeparator = '.'};
        return renderer_.Render(in, image_);
    }

    std::uint32_t At(int x, int y) const { return Canvas::FromRgb(image_.pixel(x, y)); }
    // Row of an A1 code drawn at the live zero 191 with the frame's zero 191.
    int RowOfA1(int code) const {
        const double height = (code - 191) * 1.0 + 191 + 1;
        return geometry_.Y0 + geometry_.H - static_cast<int>(std::lround(height * geometry_.Vs));
    }
    // Grid columns (from X0) lit in `colour` on one row.
    std::vector<int> ColumnsIn(int row, std::uint32_t colour) const {
        std::vector<int> cols;
        for (int x = geometry_.X0; x <= geometry_.X0 + geometry_.W; ++x)
            if (At(x, row) == colour) cols.push_back(x - geometry_.X0);
        return cols;
    }

    ScopeState state_;
    DerivedQuantities derived_;
    std::unique_ptr<SampleRecord> main_;
    std::unique_ptr<SampleRecord> background_;
    ScreenGeometry geometry_;
    ScreenRenderer renderer_;
    QImage image_;
};

TEST_F(RendererTest, DrawsLiveTracesInsideAndClearsTheMargins) {
    Fill(*main_, 100, 1, 30, 200);
    const ScreenOutput out = Render();
    EXPECT_EQ(out.SpectrumMode, kSpectrumOff);

    // 2.4 px per sample: slots 0..99 cover the 240 px grid.
    const auto lit = ColumnsIn(RowOfA1(200), 0x00FF00);
    ASSERT_GE(lit.size(), 90u);
    EXPECT_EQ(lit.front(), 0);
    EXPECT_GE(lit.back(), 235);

    // Margins are Border everywhere except where marks and texts belong.
    EXPECT_EQ(At(0, 0), 0x202020u);
    EXPECT_EQ(At(299, 199), 0x202020u);
    EXPECT_EQ(At(2, geometry_.Y0 + 50), 0x202020u);
    // The frame just outside the grid.
    EXPECT_EQ(At(geometry_.X0 - 1, geometry_.Y0 + 50), state_.Colors[ColourSlot::Grid_Frame]);
    EXPECT_EQ(At(geometry_.X0 + geometry_.W + 1, geometry_.Y0 + 50), state_.Colors[ColourSlot::Grid_Frame]);
    // Nothing of the grey the image started with survives.
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_NE(image_.pixel(x, y), qRgb(128, 128, 128)) << x << "," << y;
}

TEST_F(RendererTest, WithoutDataOnlyTheFurnitureIsDrawn) {
    state_.Common.Grid = false;
    state_.Common.TrigPosL = false;
    Render();
    const std::uint32_t background = state_.Colors[ColourSlot::Background];
    for (int y = geometry_.Y0; y <= geometry_.Y0 + geometry_.H; ++y)
        for (int x = geometry_.X0; x <= geometry_.X0 + geometry_.W; ++x)
            ASSERT_EQ(At(x, y), background) << x << "," << y;
}

TEST_F(RendererTest, HiddenChannelIsNotDrawn) {
    Fill(*main_, 100, 1, 30, 200);
    state_.Common.CH_A1 = false;
    Render();
    EXPECT_TRUE(ColumnsIn(RowOfA1(200), 0x00FF00).empty());
}

// The background's sample period is four times the live one, so its
// trigger slot lands on fractional positions of the live record; it must
// still line up with the live trigger point at every scroll position.
TEST_F(RendererTest, BackgroundTriggerSlotLinesUpWithTheLiveOneWhileScrolling) {
    state_.View.BG_View = true;
    state_.Common.TrigPosL = false;
    state_.Common.Grid = false;
    Fill(*main_, 200, 1, 60, kEmptySample);
    main_->Min[kA1][60] = main_->Max[kA1][60] = 100;
    Fill(*background_, 50, 4, 13, kEmptySample);
    background_->Min[kA1][13] = background_->Max[kA1][13] = 150;
    const std::uint32_t bgColour = BlendColor(0x00FF00, 0, 2.0);
    for (std::int32_t scroll = 0; scroll <= 40; scroll += 3) {
        const ScreenOutput out = Render(scroll);
        const auto live = ColumnsIn(RowOfA1(100), 0x00FF00);
        const auto back = ColumnsIn(RowOfA1(150), bgColour);
        ASSERT_EQ(live.size(), 1u) << scroll;
        ASSERT_EQ(back.size(), 1u) << scroll;
        EXPECT_EQ(live[0], back[0]) << "scroll " << scroll;
        // p = 13 + (scroll - 60) / 4, truncated toward zero.
        EXPECT_EQ(out.BackgroundStart, static_cast<std::int32_t>(13 + (scroll - 60) / 4.0)) << scroll;
    }
}

TEST_F(RendererTest, SpectrumModeFollowsMenusAndFrame) {
    Fill(*main_, 127, 1, 30, 128);
    state_.FFT.View_A1 = true;
    EXPECT_EQ(Render().SpectrumMode, kSpectrumTooFewA1);
    // The message box: its top edge in the spectrum's colour, beside the middle grid line.
    const int xc = geometry_.X0 + geometry_.W / 2 + 3, top = geometry_.Y0 + 13 * geometry_.H / 16 - 10;
    EXPECT_EQ(At(xc, top), state_.Colors[ColourSlot::FFT]);
    EXPECT_EQ(At(xc, top - 1), state_.Colors[ColourSlot::Background]);
    state_.Common.CH_A1 = false;  // a hidden channel's spectrum entry is off
    const ScreenOutput out = Render();
    EXPECT_EQ(out.SpectrumMode, kSpectrumOff);
    EXPECT_FALSE(out.Menus.EnabledA1);
    EXPECT_FALSE(out.Menus.ViewA1);
}

// A sine on A1 with the spectrum of A1 shown: the spectrum is computed
// only for new data or a request, averaged while asked, and drawn in the
// spectrum's colour over waveforms dimmed to half.
TEST_F(RendererTest, SpectrumIsRecomputedOnlyWhenAskedAndDrawnOverDimmedTraces) {
    Fill(*main_, 2048, 1, 0, 0);
    for (std::size_t i = 0; i < 2048; ++i)
        main_->Min[kA1][i] = main_->Max[kA1][i] =
            static_cast<std::int32_t>(std::lround(128 + 60 * std::sin(2 * M_PI * static_cast<double>(i) / 16)));
    state_.FFT.View_A1 = true;
    state_.FFT.Mdl = true;
    state_.FFT.Size = 6;
    const auto render = [&](bool newData, bool settingsChanged) {
        ScreenInput in{state_, derived_, *main_, *background_};
        in.Geometry = geometry_;
        in.SpectrumNewData = newData;
        in.SettingsChanged = settingsChanged;
        return renderer_.Render(in, image_);
    };

    ScreenOutput out = render(true, true);
    EXPECT_EQ(out.SpectrumMode, kSpectrumA1);
    EXPECT_EQ(out.SpectrumSizeIndex, 1);  // 2048 valid samples
    EXPECT_TRUE(out.SpectrumComputed);
    ASSERT_TRUE(renderer_.Spectrum().PeakValid);
    EXPECT_NEAR(renderer_.Spectrum().PeakFreq, 2.0 / 16, 0.01);  // 1/16 of the sample rate
    EXPECT_EQ(renderer_.Spectrum().AverageCount, 1);

    out = render(true, false);
    EXPECT_EQ(renderer_.Spectrum().AverageCount, 2);
    out = render(false, false);  // a repaint without new data keeps the last spectrum
    EXPECT_FALSE(out.SpectrumComputed);
    EXPECT_EQ(renderer_.Spectrum().AverageCount, 2);
    out = render(true, true);  // a settings change restarts the average
    EXPECT_EQ(renderer_.Spectrum().AverageCount, 1);

    bool spectrumDrawn = false, fullA1 = false;
    const std::uint32_t fft = state_.Colors[ColourSlot::FFT];
    for (int y = geometry_.Y0; y <= geometry_.Y0 + geometry_.H; ++y)
        for (int x = geometry_.X0; x <= geometry_.X0 + geometry_.W; ++x) {
            spectrumDrawn = spectrumDrawn || At(x, y) == fft;
            fullA1 = fullA1 || At(x, y) == 0x00FF00u;
        }
    EXPECT_TRUE(spectrumDrawn);
    EXPECT_FALSE(fullA1);  // the live trace is dimmed
}

TEST_F(RendererTest, ActivityWheelStepsWithEvents) {
    ScreenInput in{.State = state_,
                   .Derived = derived_,
                   .Main = *main_,
                   .Background = *background_,
                   .BackgroundLevels = {},
                   .Geometry = geometry_,
                   .ScrollIndex = 0,
                   .BgLaneSwap = false,
                   .Dragging = DraggedLevel::None,
                   .LinkPerSecond = {},
                   .VccCentivolts = -1,
                   .Activity = {.FrameArrived = true, .StatusArrived = true, .Running = true},
                   .SpectrumNewData = false,
                   .SettingsChanged = false,
                   .DecimalSeparator = '.'};
    renderer_.Render(in, image_);
    EXPECT_EQ(renderer_.Activity().ActivityFrameStep, 1);
    EXPECT_EQ(renderer_.Activity().ActivityStatusStep, 1);
    for (int i = 0; i < 9; ++i)
        renderer_.DrawActivityOnly(image_, geometry_, state_.Colors, {.FrameArrived = false, .StatusArrived = true, .Running = true});
    EXPECT_EQ(renderer_.Activity().ActivityStatusStep, 0);  // wrapped after ten steps
    EXPECT_EQ(renderer_.Activity().FramesSinceData, 10);
    // The wheel is drawn in the top margin around its centre.
    const int cx = geometry_.X0 + 19 * (geometry_.W / 20), cy = geometry_.Y0 / 2;
    bool lit = false;
    for (int y = cy - 7; y <= cy + 7; ++y)
        for (int x = cx - 7; x <= cx + 7; ++x) lit = lit || At(x, y) != state_.Colors[ColourSlot::Border];
    EXPECT_TRUE(lit);
}

}  // namespace
}  // namespace qx40
