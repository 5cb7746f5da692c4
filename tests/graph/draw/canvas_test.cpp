// The drawing surface keeps the conventions the renderer relies on, pixel by pixel.
#include "graph/draw/canvas.h"

#include <gtest/gtest.h>

#include <QPaintEngine>
#include <QRandomGenerator>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace plotwell;

namespace {

constexpr RgbColor kWhite = 0x00FFFFFF;
constexpr RgbColor kBlack = 0x00000000;
constexpr RgbColor kRed = 0x000000FF;
constexpr RgbColor kBlue = 0x00FF0000;

struct CanvasTest : ::testing::Test
{
    Canvas canvas;
    void SetUp() override { canvas.SetSize(40, 30); }

    // The pixels of the canvas that are not white, as (x, y) pairs.
    std::vector<QPoint> Inked() const
    {
        std::vector<QPoint> points;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.Pixel(x, y) != kWhite)
                    points.emplace_back(x, y);
        return points;
    }
};

} // namespace

TEST_F(CanvasTest, LinesLeaveOutTheirEndPixel)
{
    const struct {
        QPoint from, to;
        int pixels;
    } cases[] = {
        {{2, 3}, {12, 3}, 10}, {{12, 5}, {2, 5}, 10}, {{4, 2}, {4, 20}, 18},
        {{6, 20}, {6, 2}, 18}, {{2, 2}, {20, 11}, 18}, {{20, 2}, {3, 25}, 23},
    };
    for (const auto& c : cases) {
        canvas.SetSize(40, 30);
        canvas.MoveTo(c.from.x(), c.from.y());
        canvas.LineTo(c.to.x(), c.to.y());
        EXPECT_EQ(canvas.Pixel(c.from.x(), c.from.y()), kBlack) << c.from.x() << "," << c.from.y();
        EXPECT_EQ(canvas.Pixel(c.to.x(), c.to.y()), kWhite) << c.to.x() << "," << c.to.y();
        EXPECT_EQ(static_cast<int>(Inked().size()), c.pixels);
        EXPECT_EQ(canvas.PenPos(), c.to);
    }
}

TEST_F(CanvasTest, ShapesExcludeRightAndBottomEdges)
{
    canvas.Brush().SetColor(kRed);
    canvas.Pen().SetColor(kBlue);
    canvas.Rectangle(15, 12, 5, 2); // corners in any order
    EXPECT_EQ(canvas.Pixel(5, 2), kBlue);
    EXPECT_EQ(canvas.Pixel(14, 11), kBlue);
    EXPECT_EQ(canvas.Pixel(10, 7), kRed);
    EXPECT_EQ(canvas.Pixel(15, 7), kWhite);
    EXPECT_EQ(canvas.Pixel(10, 12), kWhite);
    EXPECT_EQ(Inked().size(), 100u);

    canvas.SetSize(40, 30);
    canvas.Brush().SetStyle(kClearBrush);
    EXPECT_EQ(canvas.Brush().Color(), kWhite);
    canvas.Ellipse(10, 10, 20, 20);
    EXPECT_EQ(canvas.Pixel(15, 15), kWhite); // a clear brush leaves the inside
    for (const QPoint& p : Inked()) {
        EXPECT_GE(p.x(), 10);
        EXPECT_LT(p.x(), 20);
        EXPECT_GE(p.y(), 10);
        EXPECT_LT(p.y(), 20);
    }
    EXPECT_EQ(canvas.Pixel(10, 15), kBlue);
    EXPECT_EQ(canvas.Pixel(19, 14), kBlue);

    // A colour makes the brush solid again; FillRect has no outline.
    canvas.Brush().SetColor(kRed);
    EXPECT_EQ(canvas.Brush().Style(), kSolidBrush);
    canvas.FillRect(QRect(30, 0, 5, 4));
    EXPECT_EQ(canvas.Pixel(30, 0), kRed);
    EXPECT_EQ(canvas.Pixel(34, 3), kRed);
    EXPECT_EQ(canvas.Pixel(35, 3), kWhite);
}

TEST_F(CanvasTest, PieRunsCounterClockwiseFromTheFirstRadial)
{
    canvas.SetSize(60, 60);
    canvas.Brush().SetColor(kRed);
    canvas.Pen().SetColor(kRed);
    // From 3 o'clock to 12 o'clock: the upper right quarter.
    canvas.Pie(10, 10, 50, 50, 50, 30, 30, 10);
    EXPECT_EQ(canvas.Pixel(40, 20), kRed);
    EXPECT_EQ(canvas.Pixel(20, 20), kWhite);
    EXPECT_EQ(canvas.Pixel(20, 40), kWhite);
    EXPECT_EQ(canvas.Pixel(40, 40), kWhite);
    // The same radial twice is the whole disc.
    canvas.SetSize(60, 60);
    canvas.Pie(10, 10, 50, 50, 50, 30, 50, 30);
    EXPECT_EQ(canvas.Pixel(20, 40), kRed);
    EXPECT_EQ(canvas.Pixel(40, 20), kRed);
}

TEST_F(CanvasTest, DottedLinesSkipEveryOtherPixelFromTheStart)
{
    canvas.Pen().SetStyle(kDotPen);
    canvas.MoveTo(0, 5);
    canvas.LineTo(10, 5);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(canvas.Pixel(x, 5), x % 2 == 1 && x < 10 ? kBlack : kWhite) << x;
    canvas.MoveTo(20, 20);
    canvas.LineTo(20, 10);
    EXPECT_EQ(canvas.Pixel(20, 20), kWhite);
    EXPECT_EQ(canvas.Pixel(20, 19), kBlack);
    EXPECT_EQ(canvas.Pixel(20, 18), kWhite);
    EXPECT_EQ(canvas.Pixel(20, 11), kBlack);
}

TEST_F(CanvasTest, TextFillsItsCellWithASolidBrush)
{
    canvas.SetSize(200, 60);
    canvas.Font().SetHeight(14);
    const QSize extent = canvas.TextExtent(QStringLiteral("Value 42"));
    EXPECT_GT(extent.width(), 20);
    EXPECT_EQ(extent.height(), 14);
    canvas.Brush().SetColor(kBlue);
    canvas.Font().SetColor(kRed);
    canvas.TextOut(10, 20, QStringLiteral("Value 42"));
    EXPECT_EQ(canvas.Pixel(10, 20), kBlue);
    EXPECT_EQ(canvas.Pixel(10 + extent.width() - 1, 20 + extent.height() - 1), kBlue);
    EXPECT_EQ(canvas.Pixel(10 + extent.width(), 20), kWhite);
    EXPECT_EQ(canvas.Pixel(10, 20 + extent.height()), kWhite);
    int red = 0;
    for (int y = 20; y < 20 + extent.height(); ++y)
        for (int x = 10; x < 10 + extent.width(); ++x)
            red += canvas.Pixel(x, y) == kRed;
    EXPECT_GT(red, 20);

    // A clear brush draws the glyphs only; turned text stands in a column from its anchor up.
    canvas.SetSize(200, 100);
    canvas.Brush().SetStyle(kClearBrush);
    canvas.TextOutAngle(50, 90, 90, QStringLiteral("Value 42"));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (canvas.Pixel(x, y) != kWhite) {
                EXPECT_EQ(canvas.Pixel(x, y), kRed);
                EXPECT_GE(x, 50);
                EXPECT_LT(x, 50 + extent.height());
                EXPECT_LE(y, 90);
                EXPECT_GT(y, 90 - extent.width() - 1);
            }
}

TEST_F(CanvasTest, ToolsPersistAcrossSizesAndFontSizesFollowPoints)
{
    canvas.Pen().SetColor(kRed);
    canvas.Pen().SetWidth(3);
    canvas.Brush().SetColor(kBlue);
    canvas.Font().SetSize(8);
    canvas.SetSize(10, 10);
    EXPECT_EQ(canvas.Pen().Color(), kRed);
    EXPECT_EQ(canvas.Pen().Width(), 3);
    EXPECT_EQ(canvas.Brush().Color(), kBlue);
    EXPECT_EQ(canvas.Font().Height(), -11); // 8 points at 96 dots per inch
    canvas.Font().SetSize(16);
    EXPECT_EQ(canvas.Font().Height(), -21);
    EXPECT_EQ(canvas.Pixel(5, 5), kWhite); // a new surface starts white
}

TEST_F(CanvasTest, PolylineDrawsTheSamePixelsAsLineTo)
{
    QRandomGenerator random(7);
    std::vector<QPoint> points;
    for (int i = 0; i < 40; ++i) // a few chunks of the painter's calls, over a surface left mostly bare
        points.emplace_back(static_cast<int>(random.bounded(200)), static_cast<int>(random.bounded(150)));
    for (const int width : {1, 3}) {
        Canvas reference;
        Canvas drawn;
        for (Canvas* c : {&reference, &drawn}) {
            c->SetSize(200, 150);
            c->Pen().SetWidth(width);
        }
        reference.MoveTo(points[0].x(), points[0].y());
        for (std::size_t i = 1; i < points.size(); ++i)
            reference.LineTo(points[i].x(), points[i].y());
        drawn.Polyline(points.data(), static_cast<qsizetype>(points.size()));
        int differing = 0;
        int set = 0;
        for (int y = 0; y < 150; ++y) {
            for (int x = 0; x < 200; ++x) {
                differing += drawn.Pixel(x, y) != reference.Pixel(x, y);
                set += reference.Pixel(x, y) != kWhite;
            }
        }
        EXPECT_EQ(differing, 0) << "pen width " << width;
        EXPECT_GT(set, 2000);
        EXPECT_LT(set, 20000);
    }
}

// A wide solid line is its one-pixel line widened by the pen's round footprint: every pixel
// whose centre lies in the disk of the pen's diameter around a pixel of the one-pixel line,
// centred on that pixel for odd widths and on its top-left corner for even ones.
TEST_F(CanvasTest, WideLinesAreTheThinLineWidenedByTheRoundPen)
{
    const struct
    {
        QPoint from, to;
    } lines[] = {{{10, 40}, {150, 40}}, {{20, 10}, {130, 110}}, {{100, 5}, {90, 115}}, {{70, 10}, {70, 100}},
                 {{-30, -20}, {60, 70}}};
    for (const auto& line : lines) {
        Canvas thin;
        thin.SetSize(160, 120);
        thin.MoveTo(line.from.x(), line.from.y());
        thin.LineTo(line.to.x(), line.to.y());
        std::vector<QPoint> pixels;
        for (int y = -40; y < 160; ++y)
            for (int x = -40; x < 200; ++x)
                if (x >= 0 && y >= 0 && x < 160 && y < 120 && thin.Pixel(x, y) != kWhite)
                    pixels.emplace_back(x, y);
        // The line from outside the surface: its thin pixels off the surface count too.
        if (line.from.x() < 0)
            for (int i = 0; i < 30; ++i)
                pixels.emplace_back(line.from.x() + i, line.from.y() + i);
        for (const int width : {2, 3, 5, 12, 30}) {
            Canvas wide;
            wide.SetSize(160, 120);
            wide.Pen().SetWidth(width);
            wide.MoveTo(line.from.x(), line.from.y());
            wide.LineTo(line.to.x(), line.to.y());
            const double centre = width % 2 ? 0.0 : -0.5;
            int differing = 0;
            for (int y = 0; y < 120; ++y) {
                for (int x = 0; x < 160; ++x) {
                    bool covered = false;
                    for (const QPoint& p : pixels) {
                        const double dx = x - p.x() - centre;
                        const double dy = y - p.y() - centre;
                        if (dx * dx + dy * dy <= width * width / 4.0) {
                            covered = true;
                            break;
                        }
                    }
                    differing += covered != (wide.Pixel(x, y) != kWhite);
                }
            }
            EXPECT_EQ(differing, 0) << "width " << width << " from " << line.from.x() << "," << line.from.y();
        }
    }
}

TEST_F(CanvasTest, PixelRatioKeepsLogicalPositions)
{
    canvas.SetSize(80, 50, 2.0);
    EXPECT_EQ(canvas.Image().size(), QSize(160, 100));
    canvas.MoveTo(60, 40);
    canvas.LineTo(60, 10);
    canvas.MoveTo(10, 40);
    canvas.LineTo(61, 40);
    const QImage& image = canvas.Image();
    const auto device = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    for (const int y : {22, 50, 79}) {
        EXPECT_EQ(device(120, y), 0u) << y;
        EXPECT_EQ(device(121, y), 0u) << y;
        EXPECT_EQ(device(119, y), 0xFFFFFFu) << y;
        EXPECT_EQ(device(122, y), 0xFFFFFFu) << y;
    }
    EXPECT_EQ(device(121, 19), 0xFFFFFFu);
    EXPECT_EQ(device(20, 80), 0u);
    EXPECT_EQ(device(20, 81), 0u);
    EXPECT_EQ(device(20, 82), 0xFFFFFFu);
    EXPECT_EQ(device(19, 80), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(60, 20), kBlack);
}

TEST_F(CanvasTest, EmptySurfaceTakesEveryOperation)
{
    canvas.SetSize(0, 0);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 5);
    canvas.Rectangle(0, 0, 3, 3);
    canvas.Ellipse(0, 0, 3, 3);
    canvas.TextOut(0, 0, QStringLiteral("x"));
    canvas.FillRect(canvas.ClipRect());
    EXPECT_TRUE(canvas.Image().isNull());
    EXPECT_EQ(canvas.Pixel(0, 0), 0u);
}

// Every way the canvas writes pixels itself (thin and wide lines, fills, stamps, stamped
// column runs) keeps to the clip, as QPainter's dotted wide lines do: inside it the same
// pixels as without a clip, outside it none, at whole and fractional pixel ratios.
// A band fills each column the path's one-pixel line reaches from the line's highest pixel
// there to its lowest, stretched to the band's row: above the row or below it, for lines
// that leave the surface, and through the clip.
TEST_F(CanvasTest, BandsFillEachColumnFromThePathToTheirRow)
{
    const struct
    {
        const char* name;
        std::vector<QPoint> path;
        int row;
        QRect clip;              // empty: none
        std::vector<QRect> band; // the columns and rows expected red, nothing else
    } cases[] = {
        {"level line above the row", {{2, 10}, {20, 10}}, 25, {}, {QRect(QPoint(2, 10), QPoint(20, 25))}},
        {"single point below the row", {{5, 28}}, 20, {}, {QRect(QPoint(5, 20), QPoint(5, 28))}},
        {"a column's own rows from its lowest to highest point",
         {{3, 4}, {3, 12}, {3, 8}},
         6,
         {},
         {QRect(QPoint(3, 4), QPoint(3, 12))}},
        {"steep line through the whole surface",
         {{10, -100000}, {14, 100000}},
         20,
         {},
         {QRect(QPoint(10, 0), QPoint(11, 20)), QRect(QPoint(12, 0), QPoint(12, 29)), QRect(QPoint(13, 20), QPoint(14, 29))}},
        {"clipped", {{0, 5}, {39, 5}}, 29, QRect(10, 8, 5, 4), {QRect(10, 8, 5, 4)}},
    };
    for (const auto& c : cases) {
        canvas.SetSize(40, 30);
        canvas.ClearClip();
        if (!c.clip.isEmpty())
            canvas.SetClip(c.clip);
        canvas.Brush().SetColor(kRed);
        canvas.FillBands(c.path.data(), static_cast<qsizetype>(c.path.size()), c.row);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                bool in = false;
                for (const QRect& r : c.band)
                    in = in || r.contains(x, y);
                EXPECT_EQ(canvas.Pixel(x, y) == kRed, in) << c.name << " at " << x << "," << y;
            }
    }
}

TEST_F(CanvasTest, EveryPixelWriteKeepsToTheClip)
{
    const QRect clip(12, 9, 21, 14);
    const auto cross = [](Canvas& c, int x, int y) {
        c.MoveTo(x - 4, y - 4);
        c.LineTo(x + 4, y + 4);
        c.MoveTo(x - 4, y + 4);
        c.LineTo(x + 4, y - 4);
    };
    const struct
    {
        const char* name;
        std::function<void(Canvas&)> draw;
    } drawings[] = {
        {"thin line", [](Canvas& c) { c.MoveTo(-5, 2); c.LineTo(45, 28); }},
        {"wide line", [](Canvas& c) { c.Pen().SetWidth(2); c.MoveTo(-5, 2); c.LineTo(45, 28); }},
        {"wide polyline", [](Canvas& c) {
             c.Pen().SetWidth(5);
             const QPoint path[] = {{0, 29}, {20, 0}, {39, 29}, {10, 15}};
             c.Polyline(path, 4);
         }},
        {"dotted wide line", [](Canvas& c) {
             c.Pen().SetWidth(3);
             c.Pen().SetStyle(kDotPen);
             c.MoveTo(0, 15);
             c.LineTo(40, 15);
         }},
        {"rectangle", [](Canvas& c) { c.Brush().SetColor(kBlue); c.Rectangle(5, 5, 20, 25); }},
        {"bands", [](Canvas& c) {
             c.Brush().SetColor(kBlue);
             const QPoint path[] = {{-5, 2}, {20, 28}, {24, -9000}, {45, 12}};
             c.FillBands(path, 4, 20);
         }},
        {"stamps", [&](Canvas& c) {
             const CanvasStamp stamp = c.CaptureStamp(6, cross);
             for (const QPoint& p : {QPoint(12, 9), QPoint(33, 23), QPoint(20, 15)}) {
                 if (stamp.valid)
                     c.Stamp(stamp, p.x(), p.y());
                 else
                     cross(c, p.x(), p.y());
             }
         }},
        {"stamped rows", [&](Canvas& c) {
             const CanvasStamp stamp = c.CaptureStamp(6, cross);
             for (const int x : {10, 14, 22, 32, 35}) {
                 if (stamp.valid) {
                     c.StampRows(stamp, x, 2, 27);
                     continue;
                 }
                 for (int y = 2; y <= 27; ++y)
                     cross(c, x, y);
             }
         }},
    };
    for (const double ratio : {1.0, 2.0, 1.5}) {
        for (const auto& drawing : drawings) {
            SCOPED_TRACE(std::string(drawing.name) + " at ratio " + std::to_string(ratio));
            Canvas whole;
            whole.SetSize(40, 30, ratio);
            drawing.draw(whole);
            Canvas clipped;
            clipped.SetSize(40, 30, ratio);
            clipped.SetClip(clip);
            drawing.draw(clipped);
            const QImage a = whole.Image();
            const QImage b = clipped.Image();
            // The clip in device pixels, as the painter takes it.
            const auto device = [&](int pixels) { return static_cast<int>(std::lround(pixels * ratio)); };
            const QRect inside(QPoint(device(clip.left()), device(clip.top())),
                               QPoint(device(clip.right() + 1) - 1, device(clip.bottom() + 1) - 1));
            int outsideInked = 0;
            int insideDiffering = 0;
            int insideInked = 0;
            for (int y = 0; y < b.height(); ++y)
                for (int x = 0; x < b.width(); ++x) {
                    const bool in = inside.contains(x, y);
                    const bool inked = (b.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
                    outsideInked += !in && inked;
                    insideInked += in && inked;
                    insideDiffering += in && b.pixel(x, y) != a.pixel(x, y);
                }
            EXPECT_EQ(outsideInked, 0);
            EXPECT_EQ(insideDiffering, 0);
            EXPECT_GT(insideInked, 0);
        }
    }
}

namespace {

// A paint device that counts what reaches its engine: paths and rectangles.
class CountingEngine : public QPaintEngine
{
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override { ++paths; }
    void drawRects(const QRect*, int count) override { rects += count; }
    void drawRects(const QRectF*, int count) override { rects += count; }
    Type type() const override { return QPaintEngine::User; }
    int paths = 0;
    int rects = 0;
};

class CountingDevice : public QPaintDevice
{
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 40;
        case PdmHeight:
            return 30;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }
    mutable CountingEngine engine;
};

} // namespace

// On a vector device wide lines stay paths, gathered into one while the pen stays: never
// the widened pixels the image gets. Stamped column runs draw there too, as rectangles.
TEST_F(CanvasTest, WideLinesOnADeviceArePaths)
{
    CountingDevice device;
    Canvas vector;
    vector.PaintOn(&device, 40, 30);
    vector.Pen().SetWidth(3);
    const QPoint path[] = {{0, 29}, {20, 0}, {39, 29}};
    vector.Polyline(path, 3);
    vector.MoveTo(0, 15);
    vector.LineTo(40, 15);
    vector.Finish();
    EXPECT_EQ(device.engine.paths, 1);
    EXPECT_EQ(device.engine.rects, 1); // the white ground

    // A stamp taken on an image, repeated down columns on the device.
    const CanvasStamp stamp = canvas.CaptureStamp(2, [](Canvas& c, int x, int y) {
        c.MoveTo(x - 1, y);
        c.LineTo(x + 2, y);
    });
    ASSERT_TRUE(stamp.valid);
    vector.PaintOn(&device, 40, 30);
    device.engine.rects = 0;
    vector.StampRows(stamp, 10, 5, 20);
    vector.Finish();
    EXPECT_GT(device.engine.rects, 1);
}

// A clip also holds for the wide lines a device gathers into a path, though the path reaches
// the device only when something else is drawn, after the clip is gone.
TEST_F(CanvasTest, PathsOnADeviceKeepToTheClipTheyWereDrawnIn)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    Canvas vector;
    vector.PaintOn(&picture, 40, 30);
    const QRect clip(10, 10, 20, 10);
    vector.SetClip(clip);
    vector.Pen().SetWidth(3);
    vector.MoveTo(0, 15);
    vector.LineTo(40, 15);
    vector.ClearClip();
    vector.Pen().SetWidth(1);
    vector.MoveTo(0, 0);
    vector.LineTo(1, 0);
    vector.Finish();
    int outside = 0;
    int inside = 0;
    for (int y = 1; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inked = (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            (clip.contains(x, y) ? inside : outside) += inked;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 0);
}
