#include "display/trace_renderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <vector>

#include "device/sample_record.h"
#include "base/blend_color.h"

namespace qx40 {
namespace {

constexpr std::uint32_t kGreen = 0x00FF00;

// A grid of 40 x 256 pixels at (2, 2): one pixel per ADC code, so a height
// of v codes lands on row Y0 + H - v.
class TraceTest : public testing::Test {
protected:
    TraceTest() : image_(50, 270, QImage::Format_RGB32) {
        image_.fill(Qt::black);
        ctx_.Geometry.X0 = 2;
        ctx_.Geometry.Y0 = 2;
        ctx_.Geometry.W = 40;
        ctx_.Geometry.H = 256;
        ctx_.Geometry.Px = 4;
        ctx_.Geometry.Py = 32;
        ctx_.Geometry.Vs = 1.0;
        ctx_.Geometry.Hs = 0.08;
        ctx_.TimePerDivNs = 10000;
        info_[fi::Divider] = 100;  // not the full rate: never interpolated
    }

    TraceParams Params(std::int32_t mode, const std::vector<std::int32_t>& low, const std::vector<std::int32_t>& high,
                       double dx) const {
        TraceParams p;
        p.Mode = mode;
        p.Low = low.data();
        p.High = high.data();
        p.Count = static_cast<std::int32_t>(low.size());
        p.Colour = kGreen;
        p.Dx = dx;
        p.Info = &info_;
        return p;
    }

    void Draw(const TraceParams& p) {
        Canvas canvas(image_);
        TraceColumns columns;
        DrawTrace(canvas, ctx_, p, columns);
    }

    std::uint32_t At(int column, int code) const {
        return Canvas::FromRgb(image_.pixel(ctx_.Geometry.X0 + column, Row(code)));
    }
    int Row(int code) const { return ctx_.Geometry.Y0 + ctx_.Geometry.H - code; }
    // Codes lit in one grid column, lowest first.
    std::vector<int> LitCodes(int column) const {
        std::vector<int> codes;
        for (int code = 255; code >= -10; --code)
            if ((image_.pixel(ctx_.Geometry.X0 + column, Row(code)) & 0xFFFFFF) != 0) codes.push_back(code);
        std::reverse(codes.begin(), codes.end());
        return codes;
    }
    static std::vector<int> Span(int lo, int hi) {
        std::vector<int> v;
        for (int c = lo; c <= hi; ++c) v.push_back(c);
        return v;
    }

    QImage image_;
    ScreenContext ctx_;
    FrameInfo info_;
};

TEST_F(TraceTest, PeakDetectColumnSpansLowestMinimumToHighestMaximum) {
    // Four samples per column; column 1 holds slots 2..5 and column 2 slots 6..9.
    const std::vector<std::int32_t> low = {50, 50, 60, 40, 70, 65, 100, 90, 95, 99, 50, 50};
    const std::vector<std::int32_t> high = {55, 55, 80, 45, 75, 66, 120, 91, 130, 100, 55, 55};
    Draw(Params(0, low, high, 0.25));
    EXPECT_EQ(LitCodes(0), Span(50, 55));
    EXPECT_EQ(LitCodes(1), Span(40, 80));
    EXPECT_EQ(LitCodes(2), Span(90, 130));
}

TEST_F(TraceTest, OverlappingVectorColumnsAreNotJoined) {
    // Four pixels between samples: a joining line would light the columns between.
    const std::vector<std::int32_t> low = {100, 90}, high = {140, 130};
    Draw(Params(1, low, high, 4.0));
    EXPECT_EQ(LitCodes(0), Span(100, 140));
    for (int c = 1; c <= 3; ++c) EXPECT_TRUE(LitCodes(c).empty()) << c;
    EXPECT_EQ(LitCodes(4), Span(90, 130));

    // The second span wholly above the first: joined from its top to the other's bottom.
    image_.fill(Qt::black);
    const std::vector<std::int32_t> low2 = {100, 150}, high2 = {140, 160};
    Draw(Params(1, low2, high2, 4.0));
    for (int c = 1; c <= 3; ++c) EXPECT_FALSE(LitCodes(c).empty()) << c;
    EXPECT_EQ(LitCodes(4).back(), 160);
}

TEST_F(TraceTest, JoinedSingleValueColumnGetsNoExtraDot) {
    const std::vector<std::int32_t> v = {10, 30};
    Draw(Params(1, v, v, 4.0));
    EXPECT_EQ(At(0, 10), kGreen);
    EXPECT_EQ(At(4, 30), 0u);  // the joining line stops short of its end point
    EXPECT_FALSE(LitCodes(3).empty());
}

TEST_F(TraceTest, EmptySlotsAreNeverDrawnButVectorsBridgeThem) {
    std::vector<std::int32_t> v(12, 50);
    v[5] = kEmptySample;
    Draw(Params(0, v, v, 1.0));
    EXPECT_EQ(At(4, 50), kGreen);
    EXPECT_EQ(At(5, 50), 0u);
    EXPECT_EQ(At(6, 50), kGreen);
    for (int code = -5; code < 256; ++code) ASSERT_EQ(At(5, code), 0u) << code;

    image_.fill(Qt::black);
    Draw(Params(1, v, v, 1.0));
    EXPECT_EQ(At(5, 50), kGreen);
}

TEST_F(TraceTest, RollRecordBreaksAtTheWritePositionAndDimsHalfADivision) {
    // 10000 ns/div at 1000 ns per sample: half a division is 5 samples.
    info_[fi::RollFrame] = 1;
    info_[fi::WritePos] = 10;
    const std::vector<std::int32_t> v(30, 50);
    TraceParams p = Params(0, v, v, 1.0);
    p.RollMark = true;
    Draw(p);
    const std::uint32_t dim = BlendColor(kGreen, 0, 3.0);
    EXPECT_EQ(At(9, 50), kGreen);
    EXPECT_EQ(At(10, 50), 0u);  // the break
    for (int c = 11; c <= 14; ++c) EXPECT_EQ(At(c, 50), dim) << c;
    EXPECT_EQ(At(15, 50), kGreen);

    image_.fill(Qt::black);
    p.RollMark = false;
    Draw(p);
    EXPECT_EQ(At(10, 50), kGreen);
    EXPECT_EQ(At(12, 50), kGreen);
}

TEST_F(TraceTest, NegativeFirstSlotMovesTheRecordRight) {
    const std::vector<std::int32_t> v = {50, 60, 70};
    TraceParams p = Params(0, v, v, 2.0);
    p.First = -3;
    Draw(p);
    EXPECT_EQ(At(6, 50), kGreen);
    EXPECT_EQ(At(8, 60), kGreen);
    EXPECT_EQ(At(10, 70), kGreen);
    EXPECT_TRUE(LitCodes(0).empty());
}

TEST_F(TraceTest, SubSampleShiftMovesWholePixelsAndFraction) {
    const std::vector<std::int32_t> v = {50, 60, 70, 80};
    TraceParams p = Params(0, v, v, 4.0);
    p.First = -2;    // slot 0 at column 8
    p.Sub = 0.6;     // 2.4 pixels: 2 whole, 0.4 moves the rounding
    Draw(p);
    EXPECT_EQ(At(6, 50), kGreen);
    EXPECT_EQ(At(10, 60), kGreen);
}

TEST_F(TraceTest, SinXOverXFillsBetweenSamplesOnlyAtFullRate) {
    // A sine of 10 samples per period, 4 pixels per sample.
    std::vector<std::int32_t> v(40);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = static_cast<std::int32_t>(std::lround(128 + 100 * std::sin(2 * M_PI * static_cast<double>(i) / 10)));
    info_[fi::Divider] = 1;
    ctx_.TimePerDivNs = 100;
    Draw(Params(2, v, v, 4.0));
    // Between slots 2 and 3 (x 8..12) the curve passes the peak of 228 at slot 2.5.
    const auto between = LitCodes(10);
    ASSERT_FALSE(between.empty());
    EXPECT_NEAR(between.back(), 228, 4);

    image_.fill(Qt::black);
    info_[fi::Divider] = 2;  // not the full rate: straight vectors, no peak between samples
    Draw(Params(2, v, v, 4.0));
    const auto straight = LitCodes(10);
    ASSERT_FALSE(straight.empty());
    EXPECT_LE(straight.back(), std::max(v[2], v[3]));
}

}  // namespace
}  // namespace qx40
