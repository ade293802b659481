#include "display/screen_marks.h"

#include <gtest/gtest.h>

#include <QImage>
#include <limits>

#include "base/blend_color.h"

namespace qx40 {
namespace {

constexpr std::uint32_t kMark = 0x00FFFF;

// A 256 x 256 grid at (40, 30): one pixel per code, row Y0 + 255 - c.
class MarksTest : public testing::Test {
protected:
    MarksTest() : image_(340, 320, QImage::Format_RGB32) {
        image_.fill(Qt::black);
        ScreenGeometry& g = ctx_.Geometry;
        g.X0 = 40;
        g.Y0 = 30;
        g.W = 250;
        g.H = 256;
        g.Px = 25;
        g.Py = 32;
        g.Hs = 0.5;
        g.Vs = 1.0;
    }
    std::uint32_t At(int x, int y) const { return Canvas::FromRgb(image_.pixel(x, y)); }
    int Xr() const { return ctx_.Geometry.X0 + 1 + ctx_.Geometry.W; }

    QImage image_;
    ScreenContext ctx_;
};

TEST_F(MarksTest, TriggerSourceMarkPointsAtTheLevelOrOffTheGrid) {
    FrameInfo info;
    info[fi::TrigSource] = 3;  // digital: the value is the lane position
    {
        Canvas c(image_);
        DrawTriggerSourceMark(c, ctx_, 100, info, kMark);
    }
    const int y = ctx_.Geometry.Y0 + 155;
    EXPECT_EQ(At(Xr() + 1, y), kMark);
    EXPECT_EQ(At(Xr() + 5, y), kMark);
    EXPECT_EQ(At(Xr() + 6, y - 4), kMark);

    image_.fill(Qt::black);
    {
        Canvas c(image_);
        DrawTriggerSourceMark(c, ctx_, 300, info, kMark);
    }
    EXPECT_EQ(At(Xr() + 1, ctx_.Geometry.Y0 - 8), kMark);  // above the top-right corner
    EXPECT_EQ(At(Xr() + 1, ctx_.Geometry.Y0 + 155), 0u);

    image_.fill(Qt::black);
    {
        Canvas c(image_);
        DrawTriggerSourceMark(c, ctx_, -1, info, kMark);
    }
    EXPECT_EQ(At(Xr() + 1, ctx_.Geometry.Y0 + ctx_.Geometry.H + 7), kMark);  // below the bottom-right corner
}

TEST_F(MarksTest, AnalogSourceMarkRescalesTheFramesLevelToTodaysVoltsPerDivision) {
    FrameInfo info;
    info[fi::TrigSource] = 1;
    info[fi::TrigLevel] = 140;
    info[fi::ZeroA1] = 120;
    info[fi::VoltsDivA1] = 1000000;
    ctx_.VoltsDivA1 = 500000;  // twice as sensitive now: 20 codes become 40
    {
        Canvas c(image_);
        DrawTriggerSourceMark(c, ctx_, 100, info, kMark);
    }
    EXPECT_EQ(At(Xr() + 1, ctx_.Geometry.Y0 + 255 - 140), kMark);
}

// A record's words may hold anything: the level relative to the zero is
// worked out without wrapping round, so a level far above its zero still
// points up and one far below still points down.
TEST_F(MarksTest, AnalogSourceMarkOfWildWordsPointsTheRightWay) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::int32_t level, zero, voltsWord, voltsNow;
        bool up;
    };
    const Case cases[] = {
        {kMax, -100, 1000000, 1000000, true},  // level - zero beyond int32
        {kMin, 100, 1000000, 1000000, false},
        {kMax, -100, 0, 0, true},  // no volts/div at all: plain codes
        {kMin, 100, 0, 0, false},
        {2000000000, 0, 2000000, 1000000, true},  // rescaled beyond int32, then the zero line added
        {-2000000000, 0, 2000000, 1000000, false},
    };
    const ScreenGeometry& g = ctx_.Geometry;
    for (const Case& k : cases) {
        FrameInfo info;
        info[fi::TrigSource] = 1;
        info[fi::TrigLevel] = k.level;
        info[fi::ZeroA1] = k.zero;
        info[fi::VoltsDivA1] = k.voltsWord;
        ctx_.VoltsDivA1 = k.voltsNow;
        image_.fill(Qt::black);
        {
            Canvas c(image_);
            DrawTriggerSourceMark(c, ctx_, 191, info, kMark);
        }
        EXPECT_EQ(At(Xr() + 1, g.Y0 - 8), k.up ? kMark : 0u) << k.level << " " << k.zero;
        EXPECT_EQ(At(Xr() + 1, g.Y0 + g.H + 7), k.up ? 0u : kMark) << k.level << " " << k.zero;
    }
}

// The count of slots from the left edge to the trigger slot, taken without
// wrapping round: a trigger slot left of the view draws no line.
TEST_F(MarksTest, NoTriggerPositionLineForASlotFarLeftOfTheView) {
    FrameInfo info;
    info[fi::PreTrigger] = std::numeric_limits<std::int32_t>::min();
    info[fi::Divider] = -1;
    ctx_.ScrollIndex = 1;
    ctx_.TimePerDivNs = 1000000000000;  // a 2^31-slot offset shrinks to a pixel or two
    ctx_.Colors[ColourSlot::Trig_Pos] = kMark;
    {
        Canvas c(image_);
        DrawTriggerPositionLine(c, ctx_, info);
    }
    for (int x = 0; x < image_.width(); ++x) ASSERT_EQ(At(x, ctx_.Geometry.Y0 + 10), 0u) << x;
}

// A trigger slot billions of pixels right of the grid leaves the flag off
// the image instead of wrapping round onto it.
TEST_F(MarksTest, TriggerPointFlagFarOffTheGridDrawsNothing) {
    for (const std::int32_t divider :
         {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()}) {
        FrameInfo info;
        info[fi::TrigSource] = 3;
        info[fi::PreTrigger] = 40000;
        info[fi::Divider] = divider;
        ctx_.TimePerDivNs = 10;
        ctx_.Colors[ColourSlot::CH_D1] = kMark;
        ctx_.Colors[ColourSlot::Background] = kMark;
        image_.fill(Qt::black);
        {
            Canvas c(image_);
            DrawTriggerPointMark(c, ctx_, info, TriggerPointView{});
        }
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                ASSERT_EQ(At(x, y), 0u) << divider << " at " << x << "," << y;
    }
}

TEST_F(MarksTest, HysteresisBandIsClampedToTheGridWhileDragging) {
    ctx_.Colors[ColourSlot::Trig_Pos] = 0x808000;
    {
        Canvas c(image_);
        DrawTriggerLevelMark(c, ctx_, 250.0, 5, true, kMark);  // 32 codes each side
    }
    const ScreenGeometry& g = ctx_.Geometry;
    const std::uint32_t band = BlendColor(0x808000, 0, 1.5);
    EXPECT_EQ(At(g.X0 + 50, g.Y0), band);                    // upper band line clamped to the top row
    EXPECT_EQ(At(g.X0 + 50, g.Y0 + 5 + 32), band);           // lower band line
    EXPECT_EQ(At(g.X0 + 50, g.Y0 + 5), 0x808000u);           // the level itself
    EXPECT_EQ(At(Xr() + 1, g.Y0 + 5), kMark);                // the pentagon's tip

    image_.fill(Qt::black);
    {
        Canvas c(image_);
        DrawTriggerLevelMark(c, ctx_, 250.0, 5, false, kMark);
    }
    EXPECT_EQ(At(g.X0 + 50, g.Y0 + 5), 0u);
}

TEST_F(MarksTest, ZeroMarkSitsLeftOfTheGridAtItsCode) {
    {
        Canvas c(image_);
        DrawZeroMark(c, ctx_, 191, kMark);
    }
    const int y = ctx_.Geometry.Y0 + 255 - 191;
    const int xl = ctx_.Geometry.X0 - 1;
    EXPECT_EQ(At(xl - 1, y), kMark);
    EXPECT_EQ(At(xl - 18, y), kMark);
    EXPECT_EQ(At(xl - 10, y - 3), kMark);  // the Z's top stroke
    EXPECT_EQ(At(xl + 1, y), 0u);
}

TEST_F(MarksTest, MarkersCrossTheWholeGrid) {
    ctx_.Colors[ColourSlot::Markers] = 0x808080;
    MarkerPositions m;
    m.Mode = 1;
    m.Marker_x = 100;  // 50 px
    m.Marker_y = 40;
    {
        Canvas c(image_);
        DrawMarkers(c, ctx_, m);
    }
    const ScreenGeometry& g = ctx_.Geometry;
    EXPECT_EQ(At(g.X0 + 50, g.Y0), 0x808080u);
    EXPECT_EQ(At(g.X0 + 50, g.Y0 + g.H), 0x808080u);  // through the bottom row
    EXPECT_EQ(At(g.X0 + g.W, g.Y0 + 40), 0x808080u);   // through the right column
    EXPECT_EQ(At(g.X0 + 51, g.Y0 + 100), 0u);
}

TEST_F(MarksTest, MarkersOfWildPositionsStayOffTheGrid) {
    ctx_.Colors[ColourSlot::Markers] = 0x808080;
    ctx_.Geometry.Hs = 2.0;
    MarkerPositions m;
    m.Mode = 1;
    m.Marker_x = std::numeric_limits<std::int32_t>::max();  // from a settings file
    m.Marker_y = 40;
    {
        Canvas c(image_);
        DrawMarkers(c, ctx_, m);
    }
    const ScreenGeometry& g = ctx_.Geometry;
    EXPECT_EQ(At(g.X0 + 50, g.Y0 + 40), 0x808080u);  // the horizontal line
    for (int x = 0; x < image_.width(); ++x) ASSERT_EQ(At(x, g.Y0 + 100), 0u) << x;
}

TEST_F(MarksTest, TriggerPointTextByPulseLength) {
    EXPECT_EQ(TriggerPointText(0, '.'), "...");
    EXPECT_EQ(TriggerPointText(-1, '.'), "...");
    EXPECT_EQ(TriggerPointText(5, '.'), "50 nS");
    EXPECT_EQ(TriggerPointText(150, '.'), "1.50 uS");
    EXPECT_EQ(TriggerPointText(100000, ','), "1,00000 mS");
}

}  // namespace
}  // namespace qx40
