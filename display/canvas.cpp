#include "display/canvas.h"

#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace qx40 {
namespace {

// The face that stands in for both fonts of the screen layout.
constexpr const char* kFontFamily = "Liberation Sans";

}  // namespace

Canvas::Canvas(QImage& image) : image_(image) {
    if (image_.format() != QImage::Format_RGB32) image_ = image_.convertToFormat(QImage::Format_RGB32);
    width_ = image_.width();
    height_ = image_.height();
    // Taken before any painter opens, so that the image is detached once
    // and every later write goes to the same buffer the painter uses.
    bits_ = reinterpret_cast<QRgb*>(image_.bits());
    stride_ = static_cast<std::size_t>(image_.bytesPerLine()) / sizeof(QRgb);
}

Canvas::~Canvas() {
    if (painter_) painter_->end();
}

QRgb Canvas::ToRgb(std::uint32_t colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t Canvas::FromRgb(QRgb rgb) {
    return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
           static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

std::uint32_t Canvas::PixelAt(std::int32_t x, std::int32_t y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) return 0;
    return FromRgb(bits_[static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x)]);
}

QPainter& Canvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
    }
    return *painter_;
}

const QFont& Canvas::FontFor(FontName name, std::int32_t pixelHeight) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i].name == name && fonts_[i].pixelHeight == pixelHeight) {
            currentFont_ = i;
            return fonts_[i].font;
        }
    }
    CachedFont f;
    f.name = name;
    f.pixelHeight = pixelHeight;
    f.font = QFont(QString::fromLatin1(kFontFamily));
    f.font.setPixelSize(std::max(1, pixelHeight));
    f.metrics.emplace(f.font);
    fonts_.push_back(std::move(f));
    currentFont_ = fonts_.size() - 1;
    return fonts_.back().font;
}

void Canvas::SetFont(FontName name, std::int32_t pixelHeight, std::uint32_t colour) {
    FontFor(name, pixelHeight);
    textColour_ = ToRgb(colour);
}

void Canvas::VerticalLine(std::int64_t x, std::int64_t y1, std::int64_t y2) {
    if (x < 0 || x >= width_ || y1 == y2) return;
    // Rows from y1 towards y2, y2 itself left out.
    std::int64_t top = y1 < y2 ? y1 : y2 + 1;
    std::int64_t bottom = y1 < y2 ? y2 - 1 : y1;
    top = std::max<std::int64_t>(top, 0);
    bottom = std::min<std::int64_t>(bottom, height_ - 1);
    QRgb* p = bits_ + static_cast<std::size_t>(top) * stride_ + static_cast<std::size_t>(x);
    for (std::int64_t y = top; y <= bottom; ++y, p += stride_) *p = pen_;
}

void Canvas::HorizontalLine(std::int64_t y, std::int64_t x1, std::int64_t x2) {
    if (y < 0 || y >= height_ || x1 == x2) return;
    std::int64_t left = x1 < x2 ? x1 : x2 + 1;
    std::int64_t right = x1 < x2 ? x2 - 1 : x1;
    left = std::max<std::int64_t>(left, 0);
    right = std::min<std::int64_t>(right, width_ - 1);
    if (left > right) return;
    QRgb* row = bits_ + static_cast<std::size_t>(y) * stride_;
    std::fill(row + left, row + right + 1, pen_);
}

void Canvas::Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    if (x1 == x2) return VerticalLine(x1, y1, y2);
    if (y1 == y2) return HorizontalLine(y1, x1, x2);

    // Step along the longer axis; pixel k (0 <= k < n) sits at major
    // a1 + k*sa and minor b1 + sb * round(k * nb / n). Only the steps whose
    // major coordinate lies inside the image are walked, so a line from a
    // wild coordinate costs no more than one across the image.
    const bool xMajor = std::abs(static_cast<std::int64_t>(x2) - x1) >=
                        std::abs(static_cast<std::int64_t>(y2) - y1);
    const std::int64_t a1 = xMajor ? x1 : y1, a2 = xMajor ? x2 : y2;
    const std::int64_t b1 = xMajor ? y1 : x1, b2 = xMajor ? y2 : x2;
    const std::int64_t majorSize = xMajor ? width_ : height_;
    const std::int64_t n = std::abs(a2 - a1), nb = std::abs(b2 - b1);
    const std::int64_t sa = a2 > a1 ? 1 : -1, sb = b2 > b1 ? 1 : -1;

    std::int64_t kFirst = 0, kEnd = n;  // steps [kFirst, kEnd)
    if (sa > 0) {
        kFirst = std::max(kFirst, -a1);
        kEnd = std::min(kEnd, majorSize - a1);
    } else {
        kFirst = std::max(kFirst, a1 - (majorSize - 1));
        kEnd = std::min(kEnd, a1 + 1);
    }
    if (kFirst >= kEnd) return;

    const std::int64_t twoN = 2 * n;
    const __int128 num = static_cast<__int128>(2 * kFirst) * nb + n;
    std::int64_t off = static_cast<std::int64_t>(num / twoN);
    std::int64_t rem = static_cast<std::int64_t>(num % twoN);
    for (std::int64_t k = kFirst; k < kEnd; ++k) {
        const std::int64_t a = a1 + k * sa, b = b1 + off * sb;
        if (xMajor)
            Plot(a, b);
        else
            Plot(b, a);
        rem += 2 * nb;
        if (rem >= twoN) {
            rem -= twoN;
            ++off;
        }
    }
}

void Canvas::Polyline(std::span<const CanvasPoint> points) {
    for (std::size_t i = 1; i < points.size(); ++i)
        Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
}

void Canvas::Fill(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, QRgb colour) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    l = std::max<std::int64_t>(l, 0);
    t = std::max<std::int64_t>(t, 0);
    r = std::min<std::int64_t>(r, width_);
    b = std::min<std::int64_t>(b, height_);
    if (l >= r || t >= b) return;
    // One row by hand, the others copied from it: memcpy is far faster than
    // a store per pixel on the large fills of every refresh.
    QRgb* first = bits_ + static_cast<std::size_t>(t) * stride_ + static_cast<std::size_t>(l);
    const auto n = static_cast<std::size_t>(r - l);
    std::fill(first, first + n, colour);
    for (std::int64_t y = t + 1; y < b; ++y)
        std::memcpy(bits_ + static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(l), first, n * sizeof(QRgb));
}

void Canvas::FillRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    Fill(l, t, r, b, brush_);
}

void Canvas::Rectangle(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (l == r || t == b) return;
    Fill(l, t, r, b, brush_);
    if (pen_ == brush_) return;
    const std::int64_t right = static_cast<std::int64_t>(r) - 1, bottom = static_cast<std::int64_t>(b) - 1;
    Fill(l, t, r, t + 1, pen_);
    Fill(l, bottom, r, b, pen_);
    Fill(l, t, l + 1, b, pen_);
    Fill(right, t, r, b, pen_);
}

void Canvas::Polygon(std::span<const CanvasPoint> points) {
    if (points.empty()) return;
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const CanvasPoint& p : points) polygon << QPoint(p.x, p.y);
    QPainter& painter = Painter();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(brush_));
    painter.drawPolygon(polygon, Qt::OddEvenFill);
    Polyline(points);
    Line(points.back().x, points.back().y, points.front().x, points.front().y);
}

void Canvas::Ellipse(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return;
    QPainter& painter = Painter();
    painter.setPen(QPen(QColor::fromRgb(pen_), 0));
    painter.setBrush(QColor::fromRgb(brush_));
    painter.drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

void Canvas::Arc(std::int32_t cx, std::int32_t cy, std::int32_t r, double startDegrees,
                 double spanDegrees) {
    if (r <= 0) return;
    QPainter& painter = Painter();
    painter.setPen(QPen(QColor::fromRgb(pen_), 0));
    painter.setBrush(Qt::NoBrush);
    // Qt counts angles counter-clockwise in sixteenths of a degree.
    painter.drawArc(QRect(cx - r, cy - r, 2 * r, 2 * r), static_cast<int>(std::lround(-startDegrees * 16)),
                    static_cast<int>(std::lround(-spanDegrees * 16)));
}

void Canvas::Text(std::int32_t x, std::int32_t y, std::string_view utf8) {
    if (fonts_.empty()) FontFor(FontName::Arial, 10);
    const CachedFont& f = fonts_[currentFont_];
    QPainter& painter = Painter();
    painter.setFont(f.font);
    painter.setPen(QColor::fromRgb(textColour_));
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!textTransparent_) {
        // The text cell, as wide as the text advances and as tall as the font.
        Fill(x, y, static_cast<std::int64_t>(x) + f.metrics->horizontalAdvance(text),
             static_cast<std::int64_t>(y) + f.metrics->height(), brush_);
    }
    painter.drawText(QPoint(x, y + f.metrics->ascent()), text);
}

std::int32_t Canvas::TextWidth(std::string_view utf8) {
    if (fonts_.empty()) FontFor(FontName::Arial, 10);
    return fonts_[currentFont_].metrics->horizontalAdvance(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace qx40
