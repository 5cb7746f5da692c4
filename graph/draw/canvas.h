#pragma once
// Canvas: the drawing surface of the graph, an image painted with the conventions of a
// classic windowing canvas (aliased; pen, brush and font that persist; right and bottom
// edges of shapes exclusive; LineTo without its end pixel; opaque text), so that a drawing
// can be checked pixel by pixel and copied or printed exactly as shown.

#include "graph/draw/canvas_tools.h"

#include <QFont>
#include <QPainterPath>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QBrush;
class QPaintDevice;
class QPen;
class QPainter;

namespace plotwell {

// The device pixels one small drawing sets, in one colour, to repeat it elsewhere.
struct CanvasStamp
{
    bool valid = false;
    QRgb color = 0;
    std::vector<QPoint> offsets; // device pixels from the centre pixel's device corner
    bool movesPen = false;
    QPoint penOffset; // where the drawing left the pen, from its centre
    // The offsets as runs down device columns: dx, first dy, last dy.
    std::vector<std::array<int, 3>> columnRuns;
};

// The pixels a Rectangle with these corners covers: corners in any order, at least one pixel
// each way; right and bottom are one past the last pixel, as the drawing calls count them.
struct CanvasBox
{
    int left, top, right, bottom;
};
CanvasBox RectangleBox(int x1, int y1, int x2, int y2);

class Canvas
{
public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // A surface of width x height pixels, each drawn with `ratio` device pixels per side (a
    // high-density screen). The contents start white; pen, brush and font are kept.
    void SetSize(int width, int height, double ratio = 1.0);
    // SetSize unless the canvas has that size and ratio already, when its contents stay.
    void EnsureSize(int width, int height, double ratio = 1.0)
    {
        if (width_ != width || height_ != height || ratio_ != ratio)
            SetSize(width, height, ratio);
    }
    // Draws onto `device` instead (an SVG or PDF writer), at one device unit per pixel: the
    // same calls give the same picture as shapes and texts. Nothing is read back from such a
    // surface (Pixel is 0, no stamps). The device must outlive the drawing; Finish ends it.
    void PaintOn(QPaintDevice* device, int width, int height);
    // Hands everything drawn so far to the device.
    void Finish();
    int Width() const { return width_; }
    int Height() const { return height_; }
    double DevicePixelRatio() const { return ratio_; }

    // A copy of the picture as drawn so far, carrying the pixel ratio.
    QImage Image() const;
    // Paints the picture as drawn so far at `topLeft` of a painter's device, without a copy.
    void DrawTo(QPainter& painter, QPoint topLeft) const;

    CanvasPen& Pen() { return pen_; }
    CanvasBrush& Brush() { return brush_; }
    CanvasFont& Font() { return font_; }
    const CanvasPen& Pen() const { return pen_; }
    const CanvasBrush& Brush() const { return brush_; }
    const CanvasFont& Font() const { return font_; }

    // The rectangle drawing may touch: the whole surface.
    QRect ClipRect() const { return QRect(0, 0, width_, height_); }
    // Keeps every drawing inside `rect` (text included) until ClearClip: the series of a
    // view end at the plot area's edges.
    void SetClip(const QRect& rect);
    void ClearClip();

    void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
    // A line with the pen from the current position to (x, y), without the end pixel. A solid
    // pen wider than one pixel sets the one-pixel line's pixels widened by its round footprint
    // (the disk of the pen's diameter around each of them), whatever the pixel ratio.
    void LineTo(int x, int y);
    QPoint PenPos() const { return penPos_; }
    // The same pixels as MoveTo(points[0]) and LineTo for each further point; drawn in
    // chunks, for long paths.
    void Polyline(const QPoint* points, qsizetype count);

    // Shapes filled with the brush (unless clear) and outlined with the pen; corners in any
    // order, right and bottom edges exclusive.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const QPoint* points, int count);
    // The wedge of the ellipse in the box from the radial through (x3, y3) counter-clockwise
    // to the radial through (x4, y4).
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Fills with the brush, no outline; nothing with a clear brush.
    void FillRect(const QRect& rect);
    // The area between a path and row `row`, in the brush colour: in every pixel column the
    // path's one-pixel line reaches (its points included), the rows from the highest of its
    // pixels there (or `row`) to the lowest (or `row`).
    void FillBands(const QPoint* points, qsizetype count, int row);

    void SetPixel(int x, int y, RgbColor color);
    RgbColor Pixel(int x, int y) const;

    // The text with the top-left of its cell at (x, y); a solid brush fills the cell first.
    void TextOut(int x, int y, const QString& text);
    // The same, turned by `degrees` counter-clockwise about (x, y).
    void TextOutAngle(int x, int y, int degrees, const QString& text);
    // Width and height of the text's cell in the current font.
    QSize TextExtent(const QString& text) const;
    // The rows of the text's cell its glyphs leave blank above them in the current font.
    int TextBlankTop(const QString& text) const;

    // Runs `draw` centred on a pixel of a scratch surface that has this canvas's pen, brush
    // and font, and takes over the tools it leaves. The stamp is valid when the drawing has
    // one colour, reaches no farther than `reach` pixels and the pixel ratio is whole: then
    // Stamp gives exactly the pixels the same drawing would, at a fraction of the cost.
    CanvasStamp CaptureStamp(int reach, const std::function<void(Canvas&, int x, int y)>& draw);
    void Stamp(const CanvasStamp& stamp, int x, int y);
    // The same pixels as Stamp at (x, y) for every y of [y0, y1], a run of a column at a time.
    void StampRows(const CanvasStamp& stamp, int x, int y0, int y1);
    // The same pixels as StampRows for each run {x, y0, y1}, in that order; where stamps
    // overlap, each pixel is written once.
    void StampColumns(const CanvasStamp& stamp, const std::vector<std::array<int, 3>>& runs);

private:
    QPainter* Painter();
    bool HasSurface() const { return device_ != nullptr || !image_.isNull(); }
    void FlushRuns();
    int DeviceLength(int pixels) const;
    QRect WritableDevicePixels() const;
    void EndPainting() const;
    void Segment(QPoint from, QPoint to);
    void ThinLine(QPoint from, QPoint to);
    // The path's one-pixel lines widened by the pen's round footprint (see WideLines in
    // canvas.cpp): the pixels of every solid line wider than one pixel.
    void WideLines(const QPoint* points, qsizetype count);
    void FillPixels(int x, int y, int w, int h, RgbColor color);
    QPen StrokePen() const;
    void UseStrokePen();
    void AddStroke(const QPoint* points, qsizetype count);
    void FlushStrokes();
    // A shape in the painter's pen and brush; cut to the clip where the device cannot clip.
    void DrawPath(const QPainterPath& path);
    bool CutsToClip() const;
    // `direct` draws with the painter; where the device cannot clip, `shape` adds the same
    // shape to a path, which is cut to the clip.
    template <typename Direct, typename Shape> void DrawOrCut(Direct direct, Shape shape);
    void SetPainterPen(const QPen& pen);
    void SetPainterBrush(const QBrush& brush);
    void UseShapeBrush();
    QPointF StrokePoint(QPoint p) const;
    QFont CurrentFont() const;

    int width_ = 0;
    int height_ = 0;
    double ratio_ = 1.0;
    // The surface with a margin all round, so that the painter's clipping at the image's
    // edges never touches the visible pixels.
    mutable QImage image_;
    uchar* bits_ = nullptr;
    mutable std::unique_ptr<QPainter> painter_;
    // A device drawn with the painter alone; pixel runs in one colour are gathered into one
    // call, so that a vector file holds one element per run rather than a group each.
    QPaintDevice* device_ = nullptr;
    std::vector<QRect> runs_;
    RgbColor runColor_ = 0;
    bool insetRuns_ = false;
    QPainterPath strokes_;
    CanvasPen pen_;
    CanvasBrush brush_;
    CanvasFont font_;
    QPoint penPos_;
    bool clipped_ = false;
    QRect clip_;
    mutable QString fontKeyName_;
    mutable int fontKeyHeight_ = 0;
    mutable bool fontCached_ = false;
    mutable QFont fontCache_;
};

} // namespace plotwell
