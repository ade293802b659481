// Drawing on an off-screen QImage with the classic raster rules the screen
// layout is measured in: a line sets its pixels from the start point up to,
// not including, the end point; rectangles and ellipses exclude their right
// and bottom edges; colours arrive as 0x00BBGGRR. Lines, rectangles and
// pixels go straight into the image; text, arcs, ellipses and polygon
// interiors go through a QPainter that is opened on first use.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "screen/screen_text.h"

namespace qx40 {

struct CanvasPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class Canvas {
public:
    // The image becomes RGB32 if it is not already.
    explicit Canvas(QImage& image);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }

    void SetPen(std::uint32_t colour) { pen_ = ToRgb(colour); }
    // Fills rectangles, polygons and ellipses, and the background of opaque text.
    void SetBrush(std::uint32_t colour) { brush_ = ToRgb(colour); }
    // Text colour and face; pixelHeight is the character height. Both faces
    // are drawn in Liberation Sans, which keeps the metrics of the originals.
    void SetFont(FontName name, std::int32_t pixelHeight, std::uint32_t colour);
    // Transparent text leaves the pixels behind the glyphs as they are.
    void SetTextTransparent(bool transparent) { textTransparent_ = transparent; }

    // From (x1, y1) up to, not including, (x2, y2).
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // Joined lines; only the last point is left out.
    void Polyline(std::span<const CanvasPoint> points);
    // Outline in the pen, inside in the brush; columns l..r-1, rows t..b-1.
    void Rectangle(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b);
    // The brush alone over columns l..r-1, rows t..b-1.
    void FillRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b);
    // Inside in the brush, closed outline in the pen.
    void Polygon(std::span<const CanvasPoint> points);
    // Outline in the pen, inside in the brush, within l..r-1, t..b-1.
    void Ellipse(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b);
    // Part of the circle of radius r around (cx, cy), in the pen; angles in
    // degrees, clockwise on the screen from the positive x axis.
    void Arc(std::int32_t cx, std::int32_t cy, std::int32_t r, double startDegrees,
             double spanDegrees);
    // Text in UTF-8 with its cell's top-left corner at (x, y).
    void Text(std::int32_t x, std::int32_t y, std::string_view utf8);
    std::int32_t TextWidth(std::string_view utf8);

    // The pixel at (x, y) as 0x00BBGGRR; 0 outside the image.
    std::uint32_t PixelAt(std::int32_t x, std::int32_t y) const;

    static QRgb ToRgb(std::uint32_t colour);
    static std::uint32_t FromRgb(QRgb rgb);

private:
    void Plot(std::int64_t x, std::int64_t y) {
        if (x >= 0 && x < width_ && y >= 0 && y < height_)
            bits_[static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x)] = pen_;
    }
    void VerticalLine(std::int64_t x, std::int64_t y1, std::int64_t y2);
    void HorizontalLine(std::int64_t y, std::int64_t x1, std::int64_t x2);
    void Fill(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, QRgb colour);
    QPainter& Painter();
    const QFont& FontFor(FontName name, std::int32_t pixelHeight);

    QImage& image_;
    QRgb* bits_ = nullptr;
    std::size_t stride_ = 0;  // pixels per row
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    QRgb pen_ = 0xFF000000;
    QRgb brush_ = 0xFF000000;
    QRgb textColour_ = 0xFF000000;
    bool textTransparent_ = false;
    std::unique_ptr<QPainter> painter_;

    struct CachedFont {
        FontName name = FontName::Arial;
        std::int32_t pixelHeight = 0;
        QFont font;
        std::optional<QFontMetrics> metrics;
    };
    std::vector<CachedFont> fonts_;  // a screen uses two or three
    std::size_t currentFont_ = 0;    // index into fonts_, valid once one is set
};

}  // namespace qx40
