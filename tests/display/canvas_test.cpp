#include "display/canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <vector>

namespace qx40 {
namespace {

constexpr std::uint32_t kPen = 0x0000FF;    // red in 0x00BBGGRR
constexpr std::uint32_t kBrush = 0xFF0000;  // blue

class CanvasTest : public testing::Test {
protected:
    CanvasTest() : image_(20, 20, QImage::Format_RGB32) { image_.fill(Qt::black); }

    // Coordinates of every pixel that is not black.
    std::vector<std::array<int, 2>> Lit() const {
        std::vector<std::array<int, 2>> lit;
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                if ((image_.pixel(x, y) & 0xFFFFFF) != 0) lit.push_back({x, y});
        return lit;
    }

    QImage image_;
};

TEST_F(CanvasTest, ColoursArriveAsBgrAndLandAsRgb) {
    {
        Canvas c(image_);
        c.SetPen(0x00332211);
        c.Line(1, 1, 2, 1);
        EXPECT_EQ(c.PixelAt(1, 1), 0x00332211u);
    }
    EXPECT_EQ(image_.pixel(1, 1), qRgb(0x11, 0x22, 0x33));
}

TEST_F(CanvasTest, LineLeavesOutItsEndPoint) {
    struct Case {
        int x1, y1, x2, y2;
        std::vector<std::array<int, 2>> pixels;
    };
    const Case cases[] = {
        {2, 3, 6, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},  // horizontal, left to right
        {6, 3, 2, 3, {{3, 3}, {4, 3}, {5, 3}, {6, 3}}},  // right to left
        {4, 2, 4, 5, {{4, 2}, {4, 3}, {4, 4}}},          // vertical, downwards
        {4, 5, 4, 2, {{4, 3}, {4, 4}, {4, 5}}},          // upwards
        {1, 1, 4, 4, {{1, 1}, {2, 2}, {3, 3}}},          // diagonal
        {5, 5, 5, 5, {}},                                // a line of length zero sets nothing
    };
    for (const Case& k : cases) {
        image_.fill(Qt::black);
        {
            Canvas c(image_);
            c.SetPen(kPen);
            c.Line(k.x1, k.y1, k.x2, k.y2);
        }
        auto lit = Lit();
        std::sort(lit.begin(), lit.end(), [](auto a, auto b) { return a[1] != b[1] ? a[1] < b[1] : a[0] < b[0]; });
        auto want = k.pixels;
        std::sort(want.begin(), want.end(), [](auto a, auto b) { return a[1] != b[1] ? a[1] < b[1] : a[0] < b[0]; });
        EXPECT_EQ(lit, want) << k.x1 << "," << k.y1 << " -> " << k.x2 << "," << k.y2;
    }
}

TEST_F(CanvasTest, SteepLineSetsOnePixelPerRow) {
    Canvas c(image_);
    c.SetPen(kPen);
    c.Line(2, 0, 5, 12);
    const auto lit = Lit();
    ASSERT_EQ(lit.size(), 12u);
    for (int y = 0; y < 12; ++y) EXPECT_EQ(lit[static_cast<std::size_t>(y)][1], y);
    EXPECT_EQ(lit.front()[0], 2);
}

TEST_F(CanvasTest, LinesFromFarOutsideAreClippedCheaply) {
    Canvas c(image_);
    c.SetPen(kPen);
    c.Line(-2000000000, 10, 2000000000, 10);
    c.Line(-2000000000, -2000000000, 2000000000, 2000000000);  // through the whole image
    const auto lit = Lit();
    EXPECT_EQ(std::count_if(lit.begin(), lit.end(), [](auto p) { return p[1] == 10; }), 20);
    EXPECT_EQ(c.PixelAt(0, 0), kPen);
    EXPECT_EQ(c.PixelAt(19, 19), kPen);
}

TEST_F(CanvasTest, RectangleExcludesRightAndBottomEdges) {
    Canvas c(image_);
    c.SetPen(kPen);
    c.SetBrush(kBrush);
    c.Rectangle(2, 3, 7, 9);
    EXPECT_EQ(c.PixelAt(2, 3), kPen);      // outline
    EXPECT_EQ(c.PixelAt(6, 8), kPen);      // last column and row of the outline
    EXPECT_EQ(c.PixelAt(4, 5), kBrush);    // inside
    EXPECT_EQ(c.PixelAt(7, 5), 0u);        // right edge left out
    EXPECT_EQ(c.PixelAt(4, 9), 0u);        // bottom edge left out
    EXPECT_EQ(c.PixelAt(1, 5), 0u);
    EXPECT_EQ(Lit().size(), 5u * 6u);
}

TEST_F(CanvasTest, FillRectClipsToTheImage) {
    Canvas c(image_);
    c.SetBrush(kBrush);
    c.FillRect(-5, 18, 100, 100);
    EXPECT_EQ(Lit().size(), 2u * 20u);
    EXPECT_EQ(c.PixelAt(19, 19), kBrush);
}

TEST_F(CanvasTest, ShapesPartlyOrWhollyOutsideAreClipped) {
    Canvas c(image_);
    c.SetPen(kPen);
    c.SetBrush(kBrush);
    c.Rectangle(15, 2, 40, 6);   // the right edge and its outline beyond the image
    c.Rectangle(25, 2, 40, 6);   // wholly right of it
    c.Rectangle(-30, 8, -5, 12);  // wholly left of it
    c.Rectangle(2, -10, 6, -2);   // wholly above it
    EXPECT_EQ(Lit().size(), 5u * 4u);
    EXPECT_EQ(c.PixelAt(15, 3), kPen);
    EXPECT_EQ(c.PixelAt(19, 3), kBrush);
}

TEST_F(CanvasTest, PolygonFillsInsideAndDrawsClosedOutline) {
    Canvas c(image_);
    c.SetPen(kPen);
    c.SetBrush(kBrush);
    const std::array<CanvasPoint, 4> square = {{{2, 2}, {12, 2}, {12, 12}, {2, 12}}};
    c.Polygon(square);
    for (const auto& corner : square) EXPECT_EQ(c.PixelAt(corner.x, corner.y), kPen);
    EXPECT_EQ(c.PixelAt(7, 2), kPen);
    EXPECT_EQ(c.PixelAt(2, 7), kPen);  // the closing edge
    EXPECT_EQ(c.PixelAt(7, 7), kBrush);
    EXPECT_EQ(c.PixelAt(13, 7), 0u);
}

TEST_F(CanvasTest, PolylineLeavesOutOnlyTheLastPoint) {
    Canvas c(image_);
    c.SetPen(kPen);
    const std::array<CanvasPoint, 3> points = {{{1, 1}, {5, 1}, {5, 5}}};
    c.Polyline(points);
    EXPECT_EQ(c.PixelAt(5, 1), kPen);
    EXPECT_EQ(c.PixelAt(5, 4), kPen);
    EXPECT_EQ(c.PixelAt(5, 5), 0u);
    EXPECT_EQ(Lit().size(), 8u);
}

TEST_F(CanvasTest, OpaqueTextFillsItsCellTransparentTextDoesNot) {
    QImage wide(120, 30, QImage::Format_RGB32);
    wide.fill(Qt::black);
    Canvas c(wide);
    c.SetBrush(kBrush);
    c.SetFont(FontName::MsSansSerif, 13, 0xFFFFFF);
    const int width = c.TextWidth("Vpp = 1.000 V");
    EXPECT_GT(width, 40);
    EXPECT_LT(width, 110);
    c.Text(2, 2, "Vpp = 1.000 V");
    EXPECT_EQ(c.PixelAt(2, 2), kBrush);  // the cell's corner is background, not glyph
    EXPECT_EQ(c.PixelAt(2 + width + 1, 2), 0u);

    c.SetTextTransparent(true);
    c.Text(2, 17, "Vpp");
    EXPECT_EQ(c.PixelAt(2, 17), 0u);
    bool glyph = false;
    for (int y = 17; y < 30; ++y)
        for (int x = 2; x < 30; ++x) glyph = glyph || c.PixelAt(x, y) != 0;
    EXPECT_TRUE(glyph);
}

TEST(CanvasFormat, OtherImageFormatsAreConvertedFirst) {
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    Canvas c(image);
    c.SetPen(kPen);
    c.Line(0, 0, 3, 0);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace qx40
