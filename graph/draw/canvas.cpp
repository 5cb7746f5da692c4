#include "graph/draw/canvas.h"

#include "core/font_faces.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace plotwell {

namespace {

// The face used when the asked-for one is missing: installed with the program's fonts.
const QString kFallbackFace = QStringLiteral("DejaVu Sans");

// Points or lines handed to the painter in one call.
constexpr qsizetype kPolylineChunk = 8;

// Hidden pixels round the surface (see image_).
constexpr int kMargin = 8;
} // namespace

Canvas::Canvas()
{
    UseStandInFaces();
}

Canvas::~Canvas() = default;

void Canvas::SetSize(int width, int height, double ratio)
{
    EndPainting();
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    ratio_ = ratio > 0 ? ratio : 1.0;
    bits_ = nullptr;
    if (DeviceLength(width_) <= 0 || DeviceLength(height_) <= 0) {
        image_ = QImage();
        return;
    }
    image_ = QImage(DeviceLength(width_ + 2 * kMargin), DeviceLength(height_ + 2 * kMargin), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio_);
    image_.fill(Qt::white);
    bits_ = image_.bits(); // the image is never shared, so this stays its buffer
}

int Canvas::DeviceLength(int pixels) const
{
    return static_cast<int>(std::lround(pixels * ratio_));
}

QImage Canvas::Image() const
{
    EndPainting();
    if (image_.isNull())
        return QImage();
    QImage visible = image_.copy(DeviceLength(kMargin), DeviceLength(kMargin), DeviceLength(width_), DeviceLength(height_));
    visible.setDevicePixelRatio(ratio_);
    return visible;
}

void Canvas::DrawTo(QPainter& painter, QPoint topLeft) const
{
    EndPainting();
    if (image_.isNull())
        return;
    const QRect visible(DeviceLength(kMargin), DeviceLength(kMargin), DeviceLength(width_), DeviceLength(height_));
    painter.drawImage(QRectF(topLeft, QSizeF(width_, height_)), image_, visible);
}

QPainter* Canvas::Painter()
{
    if (image_.isNull())
        return nullptr;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->translate(kMargin, kMargin);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        if (clipped_)
            painter_->setClipRect(clip_);
    }
    return painter_.get();
}

void Canvas::SetClip(const QRect& rect)
{
    clipped_ = true;
    clip_ = rect;
    if (painter_)
        painter_->setClipRect(clip_);
}

void Canvas::ClearClip()
{
    clipped_ = false;
    if (painter_)
        painter_->setClipping(false);
}

void Canvas::EndPainting() const
{
    painter_.reset();
}

// Lines go through pixel centres: with more than one device pixel per pixel, half a pixel in.
QPointF Canvas::StrokePoint(QPoint p) const
{
    const double offset = ratio_ == 1.0 ? 0.0 : 0.5;
    return QPointF(p.x() + offset, p.y() + offset);
}

void Canvas::UseStrokePen()
{
    QPen pen(ToQColor(pen_.Color()));
    pen.setWidth(pen_.Width());
    if (pen_.Width() == 1) {
        pen.setCapStyle(Qt::FlatCap);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        if (pen_.Style() == kDotPen)
            pen.setStyle(Qt::DotLine);
    }
    painter_->setPen(pen);
}

void Canvas::UseShapeBrush()
{
    if (brush_.Style() == kSolidBrush)
        painter_->setBrush(ToQColor(brush_.Color()));
    else
        painter_->setBrush(Qt::NoBrush);
}

// Writes straight into the image: thin lines, outlines and fills are runs of whole pixels,
// exact at any pixel ratio and far cheaper than one painter call each.
void Canvas::FillPixels(int x, int y, int w, int h, RgbColor color)
{
    if (clipped_) {
        const qint64 left = std::max<qint64>(x, clip_.left());
        const qint64 top = std::max<qint64>(y, clip_.top());
        const qint64 right = std::min<qint64>(qint64(x) + w, qint64(clip_.right()) + 1);
        const qint64 bottom = std::min<qint64>(qint64(y) + h, qint64(clip_.bottom()) + 1);
        if (right <= left || bottom <= top)
            return;
        x = static_cast<int>(left);
        y = static_cast<int>(top);
        w = static_cast<int>(right - left);
        h = static_cast<int>(bottom - top);
    }
    if (w <= 0 || h <= 0 || !bits_)
        return;
    const auto clampTo = [](qint64 v, qint64 high) { return static_cast<int>(std::clamp<qint64>(v, 0, high)); };
    const int left = DeviceLength(clampTo(qint64(x) + kMargin, width_ + 2 * kMargin));
    const int right = DeviceLength(clampTo(qint64(x) + w + kMargin, width_ + 2 * kMargin));
    const int top = DeviceLength(clampTo(qint64(y) + kMargin, height_ + 2 * kMargin));
    const int bottom = DeviceLength(clampTo(qint64(y) + h + kMargin, height_ + 2 * kMargin));
    const QRgb value = qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                            static_cast<int>((color >> 16) & 0xFF));
    const qsizetype stride = image_.bytesPerLine();
    for (int row = top; row < std::min(bottom, image_.height()); ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(bits_ + row * stride);
        std::fill(line + left, line + std::min(right, image_.width()), value);
    }
}

void Canvas::LineTo(int x, int y)
{
    const QPoint to(x, y);
    Segment(penPos_, to);
    penPos_ = to;
}

void Canvas::Segment(QPoint from, QPoint to)
{
    if (from == to || image_.isNull())
        return;
    if (pen_.Width() == 1) {
        ThinLine(from, to);
        return;
    }
    Painter();
    UseStrokePen();
    painter_->drawLine(QLineF(StrokePoint(from), StrokePoint(to)));
}

// A one-pixel line from `from` towards `to`, end pixel left out: along the longer axis one
// pixel per step, the other coordinate rounded (halves away from the start). Dotted lines
// take every other pixel, starting with the second, so a grid line drawn from an axis leaves
// the axis pixel it starts on. Only the steps that can reach the image are walked.
void Canvas::ThinLine(QPoint from, QPoint to)
{
    const bool dotted = pen_.Style() == kDotPen;
    const RgbColor color = pen_.Color();
    const bool xMajor = std::abs(qint64(to.x()) - from.x()) >= std::abs(qint64(to.y()) - from.y());
    // Major and minor coordinates of the two ends.
    const qint64 a0 = xMajor ? from.x() : from.y();
    const qint64 a1 = xMajor ? to.x() : to.y();
    const qint64 b0 = xMajor ? from.y() : from.x();
    const qint64 b1 = xMajor ? to.y() : to.x();
    const qint64 steps = std::abs(a1 - a0);
    const qint64 minor = std::abs(b1 - b0);
    const int sa = a1 > a0 ? 1 : -1;
    const int sb = b1 > b0 ? 1 : (b1 < b0 ? -1 : 0);
    // The steps whose major coordinate lies on the image.
    const qint64 low = -kMargin;
    const qint64 high = (xMajor ? width_ : height_) + kMargin - 1;
    qint64 first = 0;
    qint64 last = steps - 1;
    if (sa > 0) {
        first = std::max(first, low - a0);
        last = std::min(last, high - a0);
    } else {
        first = std::max(first, a0 - high);
        last = std::min(last, a0 - low);
    }
    const auto plot = [&](qint64 a, qint64 b, qint64 length) {
        const qint64 start = sa > 0 ? a : a - length + 1;
        if (xMajor)
            FillPixels(static_cast<int>(start), static_cast<int>(b), static_cast<int>(length), 1, color);
        else
            FillPixels(static_cast<int>(b), static_cast<int>(start), 1, static_cast<int>(length), color);
    };
    qint64 runStart = 0;
    qint64 runLength = 0;
    qint64 runMinor = 0;
    for (qint64 i = first; i <= last; ++i) {
        if (dotted && i % 2 == 0)
            continue;
        const qint64 b = b0 + sb * ((2 * i * minor + steps) / (2 * steps));
        const qint64 a = a0 + sa * i;
        if (!dotted && runLength > 0 && b == runMinor) {
            ++runLength;
            continue;
        }
        if (runLength > 0)
            plot(runStart, runMinor, runLength);
        runStart = a;
        runMinor = b;
        runLength = 1;
    }
    if (runLength > 0)
        plot(runStart, runMinor, runLength);
}

void Canvas::Polyline(const QPoint* points, qsizetype count)
{
    if (count <= 0)
        return;
    penPos_ = points[count - 1];
    if (count < 2 || image_.isNull())
        return;
    if (pen_.Width() == 1) {
        for (qsizetype i = 1; i < count; ++i)
            Segment(points[i - 1], points[i]);
        return;
    }
    // Wide lines join round, as round-capped segments would.
    Painter();
    UseStrokePen();
    std::vector<QPointF> chunk;
    chunk.reserve(static_cast<std::size_t>(std::min(count, kPolylineChunk)));
    for (qsizetype start = 0; start + 1 < count; start += kPolylineChunk - 1) {
        const qsizetype end = std::min(count, start + kPolylineChunk);
        chunk.clear();
        for (qsizetype i = start; i < end; ++i)
            chunk.push_back(StrokePoint(points[i]));
        painter_->drawPolyline(chunk.data(), static_cast<int>(chunk.size()));
    }
}

CanvasBox RectangleBox(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    // A box of no width or height still shows its one-pixel outline.
    return CanvasBox{x1, y1, std::max(x2, x1 + 1), std::max(y2, y1 + 1)};
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    const auto [x1, y1, x2, y2] = RectangleBox(left, top, right, bottom);
    if (!Painter())
        return;
    if (brush_.Style() == kSolidBrush)
        FillPixels(x1, y1, x2 - x1, y2 - y1, brush_.Color());
    if (pen_.Width() == 1) {
        const RgbColor c = pen_.Color();
        FillPixels(x1, y1, x2 - x1, 1, c);
        FillPixels(x1, y2 - 1, x2 - x1, 1, c);
        FillPixels(x1, y1, 1, y2 - y1, c);
        FillPixels(x2 - 1, y1, 1, y2 - y1, c);
        return;
    }
    UseStrokePen();
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRectF(StrokePoint(QPoint(x1, y1)), QSizeF(x2 - x1 - 1, y2 - y1 - 1)));
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (!Painter())
        return;
    UseStrokePen();
    UseShapeBrush();
    painter_->drawEllipse(QRectF(StrokePoint(QPoint(x1, y1)), QSizeF(std::max(x2 - x1 - 1, 0), std::max(y2 - y1 - 1, 0))));
}

void Canvas::Polygon(const QPoint* points, int count)
{
    if (count < 2 || !Painter())
        return;
    UseStrokePen();
    UseShapeBrush();
    std::vector<QPointF> corners;
    corners.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        corners.push_back(StrokePoint(points[i]));
    painter_->drawPolygon(corners.data(), count);
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (!Painter())
        return;
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    const auto angle = [&](int x, int y) { return std::atan2(cy - y, x - cx) * 180.0 / M_PI; };
    const double start = angle(x3, y3);
    double span = angle(x4, y4) - start;
    while (span <= 0)
        span += 360.0; // the same radial twice is the whole ellipse
    UseStrokePen();
    UseShapeBrush();
    painter_->drawPie(QRectF(StrokePoint(QPoint(x1, y1)), QSizeF(std::max(x2 - x1 - 1, 0), std::max(y2 - y1 - 1, 0))),
                      static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
}

void Canvas::FillRect(const QRect& rect)
{
    if (brush_.Style() == kSolidBrush)
        FillPixels(rect.x(), rect.y(), rect.width(), rect.height(), brush_.Color());
}

void Canvas::SetPixel(int x, int y, RgbColor color)
{
    FillPixels(x, y, 1, 1, color);
}

RgbColor Canvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || image_.isNull())
        return 0;
    EndPainting();
    const QRgb rgb = image_.pixel(DeviceLength(x + kMargin), DeviceLength(y + kMargin));
    return RGBToColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

CanvasStamp Canvas::CaptureStamp(int reach, const std::function<void(Canvas&, int x, int y)>& draw)
{
    CanvasStamp stamp;
    const QPoint unmoved(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    const int side = 2 * reach + 1;
    // Draws on a scratch surface of one ground colour, with this canvas's tools.
    const auto drawOn = [&](Canvas& scratch, RgbColor ground) {
        scratch.SetSize(side, side, ratio_);
        scratch.pen_ = pen_;
        scratch.brush_ = brush_;
        scratch.font_ = font_;
        scratch.penPos_ = unmoved;
        if (!scratch.image_.isNull())
            scratch.FillPixels(-kMargin, -kMargin, side + 2 * kMargin, side + 2 * kMargin, ground);
        draw(scratch, reach, reach);
        scratch.EndPainting();
    };
    // A pixel is the drawing's when it comes out the same on a black and on a white ground,
    // whatever colours the drawing uses.
    Canvas onBlack;
    Canvas onWhite;
    drawOn(onBlack, 0x000000);
    drawOn(onWhite, 0xFFFFFF);
    if (!onWhite.image_.isNull()) {
        const QImage& black = onBlack.image_;
        const QImage& white = onWhite.image_;
        const int origin = onWhite.DeviceLength(reach + kMargin);
        const int limit = onWhite.DeviceLength(kMargin);
        stamp.valid = ratio_ == std::floor(ratio_);
        for (int y = 0; y < white.height() && stamp.valid; ++y) {
            for (int x = 0; x < white.width(); ++x) {
                const QRgb rgb = white.pixel(x, y);
                if (rgb != black.pixel(x, y))
                    continue;
                const bool outside = x < limit || y < limit || x >= white.width() - limit || y >= white.height() - limit;
                if (outside || (!stamp.offsets.empty() && rgb != stamp.color)) {
                    stamp.valid = false;
                    break;
                }
                stamp.color = rgb;
                stamp.offsets.emplace_back(x - origin, y - origin);
            }
        }
    }
    pen_ = onWhite.pen_;
    brush_ = onWhite.brush_;
    font_ = onWhite.font_;
    stamp.movesPen = onWhite.penPos_ != unmoved;
    if (stamp.movesPen)
        stamp.penOffset = onWhite.penPos_ - QPoint(reach, reach);
    return stamp;
}

void Canvas::Stamp(const CanvasStamp& stamp, int x, int y)
{
    if (stamp.movesPen)
        penPos_ = QPoint(x, y) + stamp.penOffset;
    if (!bits_ || std::abs(x) > width_ + 2 * kMargin || std::abs(y) > height_ + 2 * kMargin)
        return;
    const int originX = DeviceLength(x + kMargin);
    const int originY = DeviceLength(y + kMargin);
    const qsizetype stride = image_.bytesPerLine();
    QRect device(0, 0, image_.width(), image_.height());
    if (clipped_)
        device &= QRect(QPoint(DeviceLength(clip_.left() + kMargin), DeviceLength(clip_.top() + kMargin)),
                        QPoint(DeviceLength(clip_.right() + 1 + kMargin) - 1, DeviceLength(clip_.bottom() + 1 + kMargin) - 1));
    for (const QPoint& offset : stamp.offsets) {
        const int px = originX + offset.x();
        const int py = originY + offset.y();
        if (device.contains(px, py))
            reinterpret_cast<QRgb*>(bits_ + py * stride)[px] = stamp.color;
    }
}

QFont Canvas::CurrentFont() const
{
    if (fontCached_ && fontKeyName_ == font_.Name() && fontKeyHeight_ == font_.Height())
        return fontCache_;
    QFont font;
    // The face asked for, its stand-in (core/font_faces.h), then the face shipped beside them.
    QStringList families{font_.Name()};
    families += QFont::substitutes(font_.Name());
    families += kFallbackFace;
    font.setFamilies(families);
    font.setStyleStrategy(QFont::NoAntialias);
    const int height = font_.Height() == 0 ? -12 : font_.Height();
    if (height < 0) {
        font.setPixelSize(-height);
    } else {
        // A positive height is the whole cell: the largest font whose cell fits.
        int size = std::max(height, 1);
        font.setPixelSize(size);
        while (size > 1 && QFontMetrics(font).height() > height)
            font.setPixelSize(--size);
    }
    fontKeyName_ = font_.Name();
    fontKeyHeight_ = font_.Height();
    fontCache_ = font;
    fontCached_ = true;
    return font;
}

QSize Canvas::TextExtent(const QString& text) const
{
    const QFontMetrics metrics(CurrentFont());
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

int Canvas::TextBlankTop(const QString& text) const
{
    const QFontMetrics metrics(CurrentFont());
    return text.isEmpty() ? 0 : std::max(0, metrics.ascent() + metrics.tightBoundingRect(text).top());
}

void Canvas::TextOut(int x, int y, const QString& text)
{
    TextOutAngle(x, y, 0, text);
}

void Canvas::TextOutAngle(int x, int y, int degrees, const QString& text)
{
    QPainter* p = Painter();
    if (!p)
        return;
    const QFont font = CurrentFont();
    const QFontMetrics metrics(font);
    p->save();
    p->translate(x, y);
    if (degrees != 0)
        p->rotate(-degrees);
    if (brush_.Style() == kSolidBrush)
        p->fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()), ToQColor(brush_.Color()));
    p->setFont(font);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(QPoint(0, metrics.ascent()), text);
    p->restore();
}

} // namespace plotwell
