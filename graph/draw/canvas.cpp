#include "graph/draw/canvas.h"

#include "core/font_faces.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QPen>
#include <QStringList>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
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
    if (device_)
        fontCached_ = false;
    device_ = nullptr;
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

void Canvas::PaintOn(QPaintDevice* device, int width, int height)
{
    EndPainting();
    image_ = QImage();
    bits_ = nullptr;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    ratio_ = 1.0;
    fontCached_ = false;
    device_ = width_ > 0 && height_ > 0 ? device : nullptr;
    if (!device_)
        return;
    // PDF readers fill the pixel after an edge that lies on a pixel boundary: a run ends a
    // little short there, and still covers all of its own pixels.
    insetRuns_ = device_->paintEngine() && device_->paintEngine()->type() == QPaintEngine::Pdf;
    // The device starts white, as an image does.
    FillPixels(0, 0, width_, height_, 0xFFFFFF);
}

void Canvas::Finish()
{
    EndPainting();
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
    if (device_) {
        if (!painter_) {
            painter_ = std::make_unique<QPainter>(device_);
            painter_->setRenderHint(QPainter::Antialiasing, false);
            painter_->setRenderHint(QPainter::TextAntialiasing, false);
        }
        FlushRuns();
        FlushStrokes();
        return painter_.get();
    }
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

// Runs and paths a device has gathered reach it under the clip they were drawn in.
void Canvas::SetClip(const QRect& rect)
{
    FlushRuns();
    FlushStrokes();
    clipped_ = true;
    clip_ = rect;
    if (painter_)
        painter_->setClipRect(clip_);
}

void Canvas::ClearClip()
{
    FlushRuns();
    FlushStrokes();
    clipped_ = false;
    if (painter_)
        painter_->setClipping(false);
}

void Canvas::EndPainting() const
{
    if (painter_ && (!runs_.empty() || !strokes_.isEmpty())) {
        const_cast<Canvas*>(this)->FlushRuns();
        const_cast<Canvas*>(this)->FlushStrokes();
    }
    painter_.reset();
}

void Canvas::FlushRuns()
{
    if (runs_.empty() || !painter_)
        return;
    SetPainterPen(QPen(Qt::NoPen));
    SetPainterBrush(QBrush(ToQColor(runColor_)));
    if (!insetRuns_) {
        painter_->drawRects(runs_.data(), static_cast<int>(runs_.size()));
    } else {
        std::vector<QRectF> inset;
        inset.reserve(runs_.size());
        for (const QRect& r : runs_)
            inset.emplace_back(r.x(), r.y(), r.width() - 1.0 / 64, r.height() - 1.0 / 64);
        painter_->drawRects(inset.data(), static_cast<int>(inset.size()));
    }
    runs_.clear();
}

// Lines go through pixel centres: with more than one device pixel per pixel, half a pixel in.
QPointF Canvas::StrokePoint(QPoint p) const
{
    const double offset = ratio_ == 1.0 ? 0.0 : 0.5;
    return QPointF(p.x() + offset, p.y() + offset);
}

// Only a real change reaches the painter: a vector file writes a new group for each one.
void Canvas::SetPainterPen(const QPen& pen)
{
    if (painter_->pen() != pen)
        painter_->setPen(pen);
}

void Canvas::SetPainterBrush(const QBrush& brush)
{
    if (painter_->brush() != brush)
        painter_->setBrush(brush);
}

QPen Canvas::StrokePen() const
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
    return pen;
}

void Canvas::UseStrokePen()
{
    FlushRuns();
    const QPen pen = StrokePen();
    // A new pen ends the gathered lines; the same pen goes on with them.
    if (pen != painter_->pen())
        FlushStrokes();
    SetPainterPen(pen);
}

void Canvas::UseShapeBrush()
{
    SetPainterBrush(brush_.Style() == kSolidBrush ? QBrush(ToQColor(brush_.Color())) : QBrush(Qt::NoBrush));
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
    if (w <= 0 || h <= 0 || (!bits_ && !device_))
        return;
    const auto clampTo = [](qint64 v, qint64 high) { return static_cast<int>(std::clamp<qint64>(v, 0, high)); };
    if (device_) {
        const int left = clampTo(qint64(x) + kMargin, width_ + 2 * kMargin) - kMargin;
        const int right = clampTo(qint64(x) + w + kMargin, width_ + 2 * kMargin) - kMargin;
        const int top = clampTo(qint64(y) + kMargin, height_ + 2 * kMargin) - kMargin;
        const int bottom = clampTo(qint64(y) + h + kMargin, height_ + 2 * kMargin) - kMargin;
        if (left >= right || top >= bottom)
            return;
        if (!painter_)
            Painter();
        FlushStrokes();
        if (!runs_.empty() && color != runColor_)
            FlushRuns();
        runColor_ = color;
        const QRect run(left, top, right - left, bottom - top);
        // A run that goes on from the last one along its row, or down its column, joins it.
        if (!runs_.empty()) {
            QRect& last = runs_.back();
            if (last.top() == run.top() && last.height() == run.height() && last.x() + last.width() == run.x()) {
                last.setWidth(last.width() + run.width());
                return;
            }
            if (last.left() == run.left() && last.width() == run.width() && last.y() + last.height() == run.y()) {
                last.setHeight(last.height() + run.height());
                return;
            }
        }
        runs_.push_back(run);
        return;
    }
    const int left = DeviceLength(clampTo(qint64(x) + kMargin, width_ + 2 * kMargin));
    const int right = DeviceLength(clampTo(qint64(x) + w + kMargin, width_ + 2 * kMargin));
    const int top = DeviceLength(clampTo(qint64(y) + kMargin, height_ + 2 * kMargin));
    const int bottom = DeviceLength(clampTo(qint64(y) + h + kMargin, height_ + 2 * kMargin));
    const QRgb value = qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                            static_cast<int>((color >> 16) & 0xFF));
    const qsizetype stride = image_.bytesPerLine();
    const int rowEnd = std::min(bottom, image_.height());
    const int columnEnd = std::min(right, image_.width());
    if (columnEnd - left == 1) { // a column of a bar or band: one pixel a row
        uchar* pixel = bits_ + qsizetype(top) * stride + qsizetype(left) * qsizetype(sizeof(QRgb));
        for (int row = top; row < rowEnd; ++row, pixel += stride)
            *reinterpret_cast<QRgb*>(pixel) = value;
        return;
    }
    for (int row = top; row < rowEnd; ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(bits_ + row * stride);
        std::fill(line + left, line + columnEnd, value);
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
    if (from == to || !HasSurface())
        return;
    if (pen_.Width() == 1) {
        ThinLine(from, to);
        return;
    }
    // A vector device keeps wide lines as paths; on an image a solid one is the canvas's own
    // widened pixels, a dotted one QPainter's.
    const QPoint ends[] = {from, to};
    if (device_) {
        AddStroke(ends, 2);
        return;
    }
    if (pen_.Style() != kDotPen) {
        WideLines(ends, 2);
        return;
    }
    Painter();
    UseStrokePen();
    const QLineF line(StrokePoint(from), StrokePoint(to));
    DrawOrCut([&](QPainter& p) { p.drawLine(line); },
              [&](QPainterPath& path) {
                  path.moveTo(line.p1());
                  path.lineTo(line.p2());
              });
}

// On a device, wide lines in one pen gather into one path until something else is drawn:
// one element of a vector file for the lines of a whole series or of all its markers.
void Canvas::AddStroke(const QPoint* points, qsizetype count)
{
    if (!painter_)
        Painter();
    FlushRuns();
    UseStrokePen();
    strokes_.moveTo(StrokePoint(points[0]));
    for (qsizetype i = 1; i < count; ++i)
        strokes_.lineTo(StrokePoint(points[i]));
}

void Canvas::FlushStrokes()
{
    if (strokes_.isEmpty() || !painter_)
        return;
    SetPainterBrush(QBrush(Qt::NoBrush));
    DrawPath(strokes_);
    strokes_.clear();
}

// Qt's SVG writer leaves clipping out of the file, so for it the canvas cuts shapes itself.
bool Canvas::CutsToClip() const
{
    return device_ && clipped_ && device_->paintEngine() && device_->paintEngine()->type() == QPaintEngine::SVG;
}

template <typename Direct, typename Shape> void Canvas::DrawOrCut(Direct direct, Shape shape)
{
    if (!CutsToClip()) {
        direct(*painter_);
        return;
    }
    QPainterPath path;
    shape(path);
    DrawPath(path);
}

void Canvas::DrawPath(const QPainterPath& path)
{
    if (!CutsToClip()) {
        painter_->drawPath(path);
        return;
    }
    QPainterPath area;
    area.addRect(QRectF(clip_));
    const QPen pen = painter_->pen();
    const QBrush brush = painter_->brush();
    if (brush.style() != Qt::NoBrush)
        painter_->fillPath(path.intersected(area), brush);
    if (pen.style() != Qt::NoPen)
        painter_->fillPath(QPainterPathStroker(pen).createStroke(path).intersected(area), pen.brush());
}

namespace {

// A one-pixel line from `from` towards `to`, end pixel left out: along the longer axis one
// pixel per step, the other coordinate rounded (halves away from the start). Dotted lines
// take every other pixel, starting with the second, so a grid line drawn from an axis leaves
// the axis pixel it starts on. Only the steps whose major coordinate lies in [low, high]
// are walked; plot(x, y, w, h) gets runs of whole pixels.
template <typename Plot> void WalkThinLine(QPoint from, QPoint to, bool dotted, qint64 lowX, qint64 highX, qint64 lowY,
                                           qint64 highY, Plot&& plot)
{
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
    const qint64 low = xMajor ? lowX : lowY;
    const qint64 high = xMajor ? highX : highY;
    qint64 first = 0;
    qint64 last = steps - 1;
    if (sa > 0) {
        first = std::max(first, low - a0);
        last = std::min(last, high - a0);
    } else {
        first = std::max(first, a0 - high);
        last = std::min(last, a0 - low);
    }
    const auto put = [&](qint64 a, qint64 b, qint64 length) {
        const qint64 start = sa > 0 ? a : a - length + 1;
        if (xMajor)
            plot(static_cast<int>(start), static_cast<int>(b), static_cast<int>(length), 1);
        else
            plot(static_cast<int>(b), static_cast<int>(start), 1, static_cast<int>(length));
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
            put(runStart, runMinor, runLength);
        runStart = a;
        runMinor = b;
        runLength = 1;
    }
    if (runLength > 0)
        put(runStart, runMinor, runLength);
}

// The pixels a round pen of width w covers around one pixel of its one-pixel line, row by
// row: the disk of diameter w centred on the pixel's centre (odd w) or on its top-left corner
// (even w), taking the pixels whose centres it holds.
struct PenFootprint
{
    int top = 0; // dy of rows[0]
    std::vector<std::pair<int, int>> rows; // [lo, hi] of dx per row
    int reach = 0;
};

PenFootprint FootprintOf(int w)
{
    PenFootprint f;
    const double centre = w % 2 ? 0.0 : -0.5;
    const double r2 = w * w / 4.0;
    f.top = std::numeric_limits<int>::max();
    for (int dy = -w; dy <= w; ++dy) {
        int lo = std::numeric_limits<int>::max();
        int hi = std::numeric_limits<int>::min();
        for (int dx = -w; dx <= w; ++dx) {
            const double ex = dx - centre;
            const double ey = dy - centre;
            if (ex * ex + ey * ey <= r2) {
                lo = std::min(lo, dx);
                hi = std::max(hi, dx);
            }
        }
        if (lo > hi)
            continue;
        f.top = std::min(f.top, dy);
        f.rows.emplace_back(lo, hi);
        f.reach = std::max({f.reach, std::abs(lo), std::abs(hi), std::abs(dy)});
    }
    return f;
}

// Sets bits [a, b] of a row of words.
void SetBits(std::uint64_t* row, int a, int b)
{
    for (int word = a / 64; word <= b / 64; ++word) {
        const int from = word == a / 64 ? a % 64 : 0;
        const int to = word == b / 64 ? b % 64 : 63;
        const std::uint64_t mask = (to == 63 ? ~std::uint64_t(0) : (std::uint64_t(1) << (to + 1)) - 1) &
                                   ~((std::uint64_t(1) << from) - 1);
        row[word] |= mask;
    }
}

// The first bit at or after `from` equal to `value`, or `limit`.
int NextBit(const std::uint64_t* row, int from, int limit, bool value)
{
    while (from < limit) {
        const std::uint64_t word = value ? row[from / 64] : ~row[from / 64];
        const std::uint64_t rest = word >> (from % 64);
        if (rest)
            return std::min(limit, from + std::countr_zero(rest));
        from = (from / 64 + 1) * 64;
    }
    return limit;
}

} // namespace

void Canvas::ThinLine(QPoint from, QPoint to)
{
    const RgbColor color = pen_.Color();
    WalkThinLine(from, to, pen_.Style() == kDotPen, -kMargin, width_ + kMargin - 1, -kMargin, height_ + kMargin - 1,
                 [&](int x, int y, int w, int h) { FillPixels(x, y, w, h, color); });
}

void Canvas::FillBands(const QPoint* points, qsizetype count, int row)
{
    QRect reachable(-kMargin, -kMargin, width_ + 2 * kMargin, height_ + 2 * kMargin);
    if (clipped_)
        reachable &= clip_;
    if (count <= 0 || reachable.isEmpty() || brush_.Style() == kClearBrush)
        return;
    const int left = reachable.left();
    const int right = reachable.right();
    const int lowY = reachable.top();
    const int highY = reachable.bottom();
    // The rows of the line in each reachable column, [top, bottom].
    std::vector<int> top(static_cast<std::size_t>(reachable.width()), INT_MAX);
    std::vector<int> bottom(top.size(), INT_MIN);
    const auto take = [&](qint64 x, qint64 y0, qint64 y1) {
        if (x < left || x > right)
            return;
        const auto at = static_cast<std::size_t>(x - left);
        top[at] = static_cast<int>(std::min<qint64>(top[at], y0));
        bottom[at] = static_cast<int>(std::max<qint64>(bottom[at], y1));
    };
    for (qsizetype i = 0; i < count; ++i) {
        const QPoint p = points[i];
        take(p.x(), p.y(), p.y());
        if (i == 0 || points[i - 1] == p)
            continue;
        const QPoint q = points[i - 1];
        WalkThinLine(q, p, false, left, right, lowY, highY,
                     [&](int x, int y, int w, int h) {
                         for (qint64 c = x; c < qint64(x) + w; ++c)
                             take(c, y, qint64(y) + h - 1);
                     });
        // A steep line is walked only over the reachable rows: a column it crosses wholly
        // beyond them reaches past them on the line's side.
        const qint64 dx = qint64(p.x()) - q.x();
        const qint64 dy = qint64(p.y()) - q.y();
        if (std::abs(dy) <= std::abs(dx) || (std::min(p.y(), q.y()) >= lowY && std::max(p.y(), q.y()) <= highY))
            continue;
        const qint64 from = std::max<qint64>(std::min(p.x(), q.x()), left);
        const qint64 to = std::min<qint64>(std::max(p.x(), q.x()), right);
        for (qint64 c = from; c <= to; ++c) {
            const double y = q.y() + static_cast<double>(c - q.x()) * static_cast<double>(dy) / static_cast<double>(dx);
            if (y < lowY)
                take(c, lowY - 1, lowY - 1);
            else if (y > highY)
                take(c, highY + 1, highY + 1);
        }
    }
    const RgbColor color = brush_.Color();
    // On the bitmap at a whole ratio of 1, each column is written directly.
    const bool direct = !device_ && ratio_ == 1.0 && bits_;
    const QRect device = direct ? WritableDevicePixels() : QRect();
    const QRgb value = qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                            static_cast<int>((color >> 16) & 0xFF));
    const qsizetype stride = image_.bytesPerLine();
    for (std::size_t at = 0; at < top.size(); ++at) {
        if (top[at] > bottom[at])
            continue;
        const int x = left + static_cast<int>(at);
        const int y0 = std::clamp(std::min(top[at], row), lowY, highY);
        const int y1 = std::clamp(std::max(bottom[at], row), lowY, highY);
        if (!direct) {
            FillPixels(x, y0, 1, y1 - y0 + 1, color);
            continue;
        }
        const int px = x + kMargin;
        if (px < device.left() || px > device.right())
            continue;
        const int from = std::max(y0 + kMargin, device.top());
        const int to = std::min(y1 + kMargin, device.bottom());
        uchar* pixel = bits_ + qsizetype(from) * stride + qsizetype(px) * qsizetype(sizeof(QRgb));
        for (int py = from; py <= to; ++py, pixel += stride)
            *reinterpret_cast<QRgb*>(pixel) = value;
    }
}

void Canvas::WideLines(const QPoint* points, qsizetype count)
{
    const PenFootprint footprint = FootprintOf(pen_.Width());
    const int reach = footprint.reach;
    // The one-pixel line's pixels that can reach the surface, as runs along rows or columns.
    struct Span
    {
        int row0, row1, x0, x1; // rows [row0, row1], columns [x0, x1)
    };
    std::vector<Span> spans;
    // FillPixels keeps to the clip; walking only what can reach it keeps a zoomed line's
    // far ends from filling the bitmap.
    QRect reachable(-kMargin, -kMargin, width_ + 2 * kMargin, height_ + 2 * kMargin);
    if (clipped_)
        reachable &= clip_;
    if (reachable.isEmpty())
        return;
    const int lowX = reachable.left() - reach;
    const int highX = reachable.right() + reach;
    const int lowY = reachable.top() - reach;
    const int highY = reachable.bottom() + reach;
    for (qsizetype i = 1; i < count; ++i) {
        if (points[i - 1] == points[i])
            continue;
        WalkThinLine(points[i - 1], points[i], false, lowX, highX, lowY, highY, [&](int x, int y, int w, int h) {
            if (h == 1) {
                if (y >= lowY && y <= highY && x <= highX && x + w > lowX)
                    spans.push_back({y, y, std::max(x, lowX), std::min(x + w, highX + 1)});
                return;
            }
            if (x < lowX || x > highX)
                return;
            const int row0 = std::max(y, lowY);
            const int row1 = std::min(y + h - 1, highY);
            if (row0 <= row1)
                spans.push_back({row0, row1, x, x + 1});
        });
    }
    if (spans.empty())
        return;
    int minRow = spans.front().row0, maxRow = spans.front().row1, minX = spans.front().x0, maxX = spans.front().x1;
    for (const Span& s : spans) {
        minRow = std::min(minRow, s.row0);
        maxRow = std::max(maxRow, s.row1);
        minX = std::min(minX, s.x0);
        maxX = std::max(maxX, s.x1);
    }
    // The widened pixels in a bitmap of their bounding box.
    const int left = minX - reach;
    const int columns = maxX - minX + 2 * reach + 1;
    const int top = minRow + footprint.top;
    const int rows = maxRow - minRow + static_cast<int>(footprint.rows.size());
    const int words = (columns + 63) / 64;
    std::vector<std::uint64_t> bits(static_cast<std::size_t>(rows) * static_cast<std::size_t>(words));
    // The footprint is a disk: its rows widen to the widest one and narrow after it, so the
    // widest of a run of its rows is the one nearest to the widest.
    const int footprintRows = static_cast<int>(footprint.rows.size());
    int widest = 0;
    for (int k = 1; k < footprintRows; ++k)
        if (footprint.rows[static_cast<std::size_t>(k)].second - footprint.rows[static_cast<std::size_t>(k)].first >
            footprint.rows[static_cast<std::size_t>(widest)].second - footprint.rows[static_cast<std::size_t>(widest)].first)
            widest = k;
    for (const Span& s : spans) {
        // Output row r takes the footprint rows k that reach it from a row of the span.
        for (int r = s.row0 + footprint.top; r <= s.row1 + footprint.top + footprintRows - 1; ++r) {
            const int ka = std::max(0, r - footprint.top - s.row1);
            const int kb = std::min(footprintRows - 1, r - footprint.top - s.row0);
            const auto [lo, hi] = footprint.rows[static_cast<std::size_t>(std::clamp(widest, ka, kb))];
            SetBits(bits.data() + static_cast<std::size_t>(r - top) * static_cast<std::size_t>(words), s.x0 + lo - left,
                    s.x1 - 1 + hi - left);
        }
    }
    const RgbColor color = pen_.Color();
    for (int row = 0; row < rows; ++row) {
        const std::uint64_t* line = bits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(words);
        for (int x = NextBit(line, 0, columns, true); x < columns;) {
            const int end = NextBit(line, x, columns, false);
            FillPixels(left + x, top + row, end - x, 1, color);
            x = NextBit(line, end, columns, true);
        }
    }
}

void Canvas::Polyline(const QPoint* points, qsizetype count)
{
    if (count <= 0)
        return;
    penPos_ = points[count - 1];
    if (count < 2 || !HasSurface())
        return;
    if (pen_.Width() == 1) {
        for (qsizetype i = 1; i < count; ++i)
            Segment(points[i - 1], points[i]);
        return;
    }
    if (device_) {
        AddStroke(points, count);
        return;
    }
    if (pen_.Style() != kDotPen) {
        WideLines(points, count);
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
        DrawOrCut([&](QPainter& p) { p.drawPolyline(chunk.data(), static_cast<int>(chunk.size())); },
                  [&](QPainterPath& path) { path.addPolygon(QPolygonF(QList<QPointF>(chunk.begin(), chunk.end()))); });
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
    const bool filled = brush_.Style() == kSolidBrush;
    if (filled)
        FillPixels(x1, y1, x2 - x1, y2 - y1, brush_.Color());
    if (pen_.Width() == 1) {
        const RgbColor c = pen_.Color();
        if (filled && c == brush_.Color())
            return; // the outline lies in the box just filled
        FillPixels(x1, y1, x2 - x1, 1, c);
        FillPixels(x1, y2 - 1, x2 - x1, 1, c);
        FillPixels(x1, y1, 1, y2 - y1, c);
        FillPixels(x2 - 1, y1, 1, y2 - y1, c);
        return;
    }
    UseStrokePen();
    SetPainterBrush(QBrush(Qt::NoBrush));
    const QRectF bounds(StrokePoint(QPoint(x1, y1)), QSizeF(x2 - x1 - 1, y2 - y1 - 1));
    DrawOrCut([&](QPainter& p) { p.drawRect(bounds); }, [&](QPainterPath& path) { path.addRect(bounds); });
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
    const QRectF bounds(StrokePoint(QPoint(x1, y1)), QSizeF(std::max(x2 - x1 - 1, 0), std::max(y2 - y1 - 1, 0)));
    DrawOrCut([&](QPainter& p) { p.drawEllipse(bounds); }, [&](QPainterPath& path) { path.addEllipse(bounds); });
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
    DrawOrCut([&](QPainter& p) { p.drawPolygon(corners.data(), count); },
              [&](QPainterPath& path) {
                  path.addPolygon(QPolygonF(QList<QPointF>(corners.begin(), corners.end())));
                  path.closeSubpath();
              });
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
        return 0; // also on a device, which is never read back
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
    // On a device the drawing itself is repeated: shapes that stay shapes when the picture is
    // enlarged, rather than a stamp's pixels.
    if (device_)
        stamp.valid = false;
    pen_ = onWhite.pen_;
    brush_ = onWhite.brush_;
    font_ = onWhite.font_;
    std::vector<QPoint> byColumn = stamp.offsets;
    std::sort(byColumn.begin(), byColumn.end(),
              [](QPoint a, QPoint b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    for (const QPoint& p : byColumn) {
        if (!stamp.columnRuns.empty() && stamp.columnRuns.back()[0] == p.x() && stamp.columnRuns.back()[2] + 1 == p.y())
            stamp.columnRuns.back()[2] = p.y();
        else
            stamp.columnRuns.push_back({p.x(), p.y(), p.y()});
    }
    stamp.movesPen = onWhite.penPos_ != unmoved;
    if (stamp.movesPen)
        stamp.penOffset = onWhite.penPos_ - QPoint(reach, reach);
    return stamp;
}

// The image's device pixels that direct writes may change: all of them, or those of the clip.
QRect Canvas::WritableDevicePixels() const
{
    QRect device(0, 0, image_.width(), image_.height());
    if (clipped_)
        device &= QRect(QPoint(DeviceLength(clip_.left() + kMargin), DeviceLength(clip_.top() + kMargin)),
                        QPoint(DeviceLength(clip_.right() + 1 + kMargin) - 1, DeviceLength(clip_.bottom() + 1 + kMargin) - 1));
    return device;
}

void Canvas::Stamp(const CanvasStamp& stamp, int x, int y)
{
    if (stamp.movesPen)
        penPos_ = QPoint(x, y) + stamp.penOffset;
    if (device_) {
        // Ratio 1: the stamp's device pixels are pixels, in rows, which join into runs.
        const RgbColor color = RGBToColor(qRed(stamp.color), qGreen(stamp.color), qBlue(stamp.color));
        for (const QPoint& offset : stamp.offsets)
            FillPixels(x + offset.x(), y + offset.y(), 1, 1, color);
        return;
    }
    if (!bits_ || std::abs(x) > width_ + 2 * kMargin || std::abs(y) > height_ + 2 * kMargin)
        return;
    const int originX = DeviceLength(x + kMargin);
    const int originY = DeviceLength(y + kMargin);
    const qsizetype stride = image_.bytesPerLine();
    const QRect device = WritableDevicePixels();
    for (const QPoint& offset : stamp.offsets) {
        const int px = originX + offset.x();
        const int py = originY + offset.y();
        if (device.contains(px, py))
            reinterpret_cast<QRgb*>(bits_ + py * stride)[px] = stamp.color;
    }
}

void Canvas::StampRows(const CanvasStamp& stamp, int x, int y0, int y1)
{
    // A device gathers the stamp's pixels into runs through Stamp; a fractional ratio has
    // no column runs to repeat.
    if (device_ || ratio_ != 1.0) {
        for (int y = y0; y <= y1; ++y)
            Stamp(stamp, x, y);
        return;
    }
    if (stamp.movesPen)
        penPos_ = QPoint(x, y1) + stamp.penOffset;
    if (!bits_)
        return;
    const QRect device = WritableDevicePixels();
    if (device.isEmpty())
        return;
    const qsizetype stride = image_.bytesPerLine();
    for (const auto& [dx, from, to] : stamp.columnRuns) {
        const qint64 px = qint64(x) + kMargin + dx;
        if (px < device.left() || px > device.right())
            continue;
        const qint64 top = std::max<qint64>(qint64(y0) + kMargin + from, device.top());
        const qint64 bottom = std::min<qint64>(qint64(y1) + kMargin + to, device.bottom());
        for (qint64 py = top; py <= bottom; ++py)
            reinterpret_cast<QRgb*>(bits_ + py * stride)[px] = stamp.color;
    }
}

void Canvas::StampColumns(const CanvasStamp& stamp, const std::vector<std::array<int, 3>>& runs)
{
    if (runs.empty())
        return;
    if (device_ || ratio_ != 1.0 || !bits_) {
        for (const auto& [x, y0, y1] : runs)
            StampRows(stamp, x, y0, y1);
        return;
    }
    if (stamp.movesPen)
        penPos_ = QPoint(runs.back()[0], runs.back()[2]) + stamp.penOffset;
    const QRect device = WritableDevicePixels();
    if (device.isEmpty())
        return;
    // The stamped device pixels, column by column, then written once each.
    const int rows = device.height();
    const std::size_t words = static_cast<std::size_t>(rows + 63) / 64;
    std::vector<std::uint64_t> covered(static_cast<std::size_t>(device.width()) * words);
    for (const auto& [x, y0, y1] : runs) {
        for (const auto& [dx, from, to] : stamp.columnRuns) {
            const qint64 px = qint64(x) + kMargin + dx;
            if (px < device.left() || px > device.right())
                continue;
            const qint64 top = std::max<qint64>(qint64(y0) + kMargin + from, device.top()) - device.top();
            const qint64 bottom = std::min<qint64>(qint64(y1) + kMargin + to, device.bottom()) - device.top();
            if (top > bottom)
                continue;
            SetBits(covered.data() + static_cast<std::size_t>(px - device.left()) * words, static_cast<int>(top),
                    static_cast<int>(bottom));
        }
    }
    const qsizetype stride = image_.bytesPerLine();
    for (int column = 0; column < device.width(); ++column) {
        const std::uint64_t* bits = covered.data() + static_cast<std::size_t>(column) * words;
        const qsizetype px = device.left() + column;
        for (int row = NextBit(bits, 0, rows, true); row < rows;) {
            const int end = NextBit(bits, row, rows, false);
            uchar* pixel = bits_ + qsizetype(device.top() + row) * stride + px * qsizetype(sizeof(QRgb));
            for (int r = row; r < end; ++r, pixel += stride)
                *reinterpret_cast<QRgb*>(pixel) = stamp.color;
            row = NextBit(bits, end, rows, true);
        }
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
    // A vector file names the face drawn: a reader has neither the substitutes nor the fallback.
    if (device_)
        font.setFamilies({QFontInfo(font).family()});
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
