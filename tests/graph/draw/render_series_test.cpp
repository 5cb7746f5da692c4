// Lines, filled areas, curves, markers and the texts around the plot, by pixels.
#include "graph/draw/curve_series.h"
#include "graph/draw/markers.h"
#include "graph/draw/render_frame.h"
#include "graph/load/data_file_loader.h"
#include "render_test_fixture.h"

#include <QImage>
#include <QRandomGenerator>
#include <QRect>

#include <algorithm>
#include <array>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <vector>

using namespace plotwell;

namespace {

using RenderSeries = RenderFixture;

constexpr RgbColor kNavy = 0x00800000;

// The smallest rectangle round the pixels of the colours within the rows above `bottom`.
QRect InkBox(const Canvas& canvas, std::initializer_list<RgbColor> colors, int bottom)
{
    QRect box;
    for (int y = 0; y < bottom; ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (std::find(colors.begin(), colors.end(), canvas.Pixel(x, y)) != colors.end())
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(RenderSeries, NullPointsLeaveNoGapAndGetNoMarker)
{
    model.SetOption(&PlotOptions::showPoints, false);
    Load({"5,,7"});
    Draw();
    // One segment from the first point (60, 370) to the third (540, 82).
    EXPECT_GT(Count(300, 220, 1, 13, kRed), 0);
    EXPECT_EQ(At(60, 370), kBlack); // the first point's own pixel is the segment's end

    model.SetOption(&PlotOptions::showPoints, true);
    Draw();
    EXPECT_EQ(At(56, 366), kRed); // cross corners at both points
    EXPECT_EQ(At(536, 78), kRed);
    EXPECT_EQ(Count(290, 200, 20, 50, kRed), 20); // the line alone: one pixel per column
}

TEST_F(RenderSeries, FilledAreaStopsAboveTheAxisAndStartsAfterTheLineWidth)
{
    model.SetOption(&PlotOptions::showPoints, false);
    model.SetOption(&PlotOptions::drawArea, true);
    model.SetOption(&PlotOptions::lineWidth, 3);
    Load({"5 30 40"});
    Draw();
    EXPECT_EQ(At(200, 300), kRed);
    EXPECT_EQ(At(300, 367), kRed); // the band's bottom: lineWidth pixels above the X axis row
    EXPECT_NE(At(300, 368), kRed);
    EXPECT_NE(At(300, 369), kRed);
    EXPECT_EQ(At(62, 350), kRed); // the first point moved lineWidth - 1 pixels right
    EXPECT_NE(At(61, 350), kRed);
    EXPECT_NE(At(200, 150), kRed);
}

TEST(Markers, EightShapesInTheSeriesColours)
{
    const struct {
        int n;
        std::vector<QPoint> inked;
        std::vector<QPoint> blank;
    } shapes[] = {
        {1, {{16, 16}, {23, 23}, {16, 24}, {23, 17}, {20, 20}}, {{24, 24}, {24, 16}, {18, 20}}},
        {2, {{16, 20}, {23, 20}, {20, 16}}, {{20, 20}, {15, 20}, {24, 20}, {20, 24}}},
        {3, {{16, 16}, {23, 23}, {16, 23}, {23, 16}}, {{20, 20}, {24, 20}, {20, 24}}},
        {4, {{20, 16}, {16, 24}, {23, 24}, {18, 20}}, {{24, 24}, {20, 20}}},
        {5, {{20, 20}, {16, 16}, {15, 20}}, {{18, 20}, {14, 20}}},
        {6, {{16, 16}, {18, 18}, {21, 21}, {23, 23}}, {{20, 20}, {17, 17}, {19, 19}}},
        {7, {{20, 16}, {20, 21}, {17, 23}}, {{16, 16}, {24, 24}}},
        {8, {{20, 20}, {17, 20}, {20, 15}}, {{15, 15}, {25, 20}}},
    };
    PlotOptions options;
    for (const auto& shape : shapes) {
        Canvas canvas;
        canvas.SetSize(40, 40);
        canvas.Brush().SetColor(kIvory);
        DrawMarker(canvas, options, 20, 20, shape.n);
        const RgbColor color = options.SeriesColorOf(shape.n);
        for (const QPoint& p : shape.inked)
            EXPECT_EQ(canvas.Pixel(p.x(), p.y()), color) << "marker " << shape.n << " at " << p.x() << "," << p.y();
        for (const QPoint& p : shape.blank)
            EXPECT_EQ(canvas.Pixel(p.x(), p.y()), 0x00FFFFFFu) << "marker " << shape.n << " at " << p.x() << "," << p.y();
        EXPECT_EQ(canvas.Brush().Color(), kIvory) << shape.n;
        EXPECT_EQ(canvas.Brush().Style(), kSolidBrush) << shape.n;
        EXPECT_EQ(canvas.Pen().Color(), color) << shape.n;
    }
}

TEST(Markers, CopiedMarkersAreTheDrawnOnes)
{
    // Markers of one series are drawn once and copied: every shape, pen width and pixel
    // ratio must give the pixels of drawing each one, up to the surface's edges.
    const QPoint places[] = {{20, 20}, {0, 0}, {59, 39}, {-3, 20}, {30, 42}, {61, 10}};
    for (const double ratio : {1.0, 2.0}) {
        for (const int lineWidth : {1, 2, 3}) {
            for (int n = 1; n <= 8; ++n) {
                PlotOptions options;
                options.lineWidth = lineWidth;
                Canvas copied;
                Canvas drawn;
                for (Canvas* c : {&copied, &drawn}) {
                    c->SetSize(60, 40, ratio);
                    c->Pen().SetWidth(5); // the width in force when lineWidth > 2
                    // The previous series' colour may be exactly the opposite of this one's.
                    c->Pen().SetColor(options.SeriesColorOf(n) ^ 0x00FFFFFF);
                    c->Brush().SetColor(kIvory);
                }
                const CanvasStamp stamp =
                    copied.CaptureStamp(12, [&](Canvas& c, int x, int y) { DrawMarker(c, options, x, y, n); });
                ASSERT_TRUE(stamp.valid) << n;
                for (const QPoint& p : places) {
                    copied.Stamp(stamp, p.x(), p.y());
                    DrawMarker(drawn, options, p.x(), p.y(), n);
                }
                EXPECT_TRUE(copied.Image() == drawn.Image()) << "marker " << n << ", width " << lineWidth << ", ratio " << ratio;
                EXPECT_EQ(copied.Pen().Width(), drawn.Pen().Width());
                EXPECT_EQ(copied.Pen().Color(), drawn.Pen().Color());
                EXPECT_EQ(copied.Brush().Color(), drawn.Brush().Color());
                EXPECT_EQ(copied.PenPos(), drawn.PenPos());
                // Runs of a column's rows at once, overlapping, up to the edges.
                const std::vector<std::array<int, 3>> runs = {{-3, 5, 12}, {0, -4, 2}, {1, 0, 39}, {2, 20, 22},
                                                               {30, 10, 30}, {31, 12, 14}, {59, 35, 45}};
                Canvas columns;
                Canvas reference;
                for (Canvas* c : {&columns, &reference}) {
                    c->SetSize(60, 40, ratio);
                    c->Pen().SetWidth(5);
                    c->Brush().SetColor(kIvory);
                }
                const CanvasStamp runStamp =
                    columns.CaptureStamp(12, [&](Canvas& c, int x, int y) { DrawMarker(c, options, x, y, n); });
                columns.StampColumns(runStamp, runs);
                for (const auto& [x, y0, y1] : runs)
                    for (int y = y0; y <= y1; ++y)
                        DrawMarker(reference, options, x, y, n);
                EXPECT_TRUE(columns.Image() == reference.Image()) << "runs of marker " << n << ", width " << lineWidth
                                                              << ", ratio " << ratio;
                EXPECT_EQ(columns.PenPos(), reference.PenPos());
            }
        }
    }
}

TEST(Curve, WeightsAndTheColumnStrideFollowTheFormula)
{
    EXPECT_EQ(CurveWeight(0, 480, 3), 1.0);
    EXPECT_DOUBLE_EQ(CurveWeight(240, 480, 3), std::pow(0.5, 8));
    EXPECT_NEAR(CurveWeight(480, 480, 1), std::pow(1.0 / 480, 2), 1e-15); // d = xwid counts as xwid - 1
    EXPECT_DOUBLE_EQ(CurveWeight(48, 480, 6), std::pow(0.9, 64));

    // The curve drawn from per-column sums must match the weighted average over every point,
    // for series that sample every second column (51 points), every third (52) and every
    // fifteenth (2000 points, several to a column).
    QRandomGenerator random(5);
    const struct {
        int count, stride;
    } cases[] = {{51, 2}, {52, 3}, {2000, 15}};
    for (const auto [count, stride] : cases) {
        RecordingSink sink;
        PlotModel model(sink);
        model.AddSeries();
        for (int i = 0; i < count; ++i)
            model.AddPoint(1, i + 1, i == 7 ? nullvalue : random.bounded(100));
        RenderFrame frame;
        frame.map = PlotMapping(PlotArea{60, 370, 480, 288}, AxisScale(1, count), AxisScale(0, 100));
        frame.cornery = 370;
        frame.xjmp = 480.0 / count;
        Canvas curve;
        Canvas reference;
        for (Canvas* c : {&curve, &reference})
            c->SetSize(600, 400);
        DrawCurve(curve, model, frame, 1);

        const int smoothing = model.Options().smoothing;
        reference.Pen().SetColor(kRed);
        for (int c = 1; c <= 480; ++c) {
            if (c != 1 && c % stride != 0)
                continue;
            const int dd = c <= 240 ? 480 - c : c;
            const double wmin = std::max(CurveWeight(dd, 480, smoothing), 1e-20);
            double weights = 0;
            double weighted = 0;
            for (int j = 0; j < count; ++j) {
                const DataPoint& p = model.AllSeries()[0][static_cast<std::size_t>(j)];
                if (IsNullPoint(p))
                    continue;
                const int centre = frame.map.Column(p.x) - 60 + 1; // the column of its marker
                const double w = CurveWeight(std::abs(c - centre), 480, smoothing) / wmin / 100000000.0;
                weights += w;
                weighted += w * p.y;
            }
            const int x = 60 + c - 1;
            const int y = static_cast<int>(std::nearbyint(370 - weighted / weights / 100 * 288));
            if (c == 1)
                reference.MoveTo(x, y);
            else
                reference.LineTo(x, y);
        }
        EXPECT_TRUE(curve.Image() == reference.Image()) << count << " points";
    }
}

TEST_F(RenderSeries, CurvePassesThroughTheMarkersOfStraightData)
{
    // Each point's weight is centred on the column of its own marker: the curve of a straight
    // run crosses the middle marker, and rises to the end instead of flattening early.
    Load({"1 2 3 4 5"});
    model.SetGraphType(kCurveGraph);
    model.SetOption(&PlotOptions::showPoints, false);
    Draw();
    const PlotGeometry& s = Geometry();
    const auto row = [&](double y) { return s.bottomy - (y - s.minY) / s.maxextentY * s.ywid; };
    const auto curveRow = [&](int x) {
        for (int y = 0; y < 400; ++y)
            if (At(x, y) == kRed)
                return y;
        return -1;
    };
    const int middle = s.cornerx + s.xwid / 2; // the marker of 3
    EXPECT_NEAR(curveRow(middle), row(3), 2);
    EXPECT_NEAR(curveRow(s.cornerx + s.xwid / 4), row(2), 3);
    EXPECT_NEAR(curveRow(s.cornerx + 3 * s.xwid / 4), row(4), 3);
    EXPECT_LT(curveRow(s.cornerx + s.xwid - 2), row(4.5)); // still rising near the end
}

TEST_F(RenderSeries, CurveOfPointsPassesByTheirMarkers)
{
    // Each (X,Y) point weighs in at its own X column, not at its position in the series: the
    // curve runs through the markers of unevenly spread X values. Ends of a straight run are
    // pulled inwards by their neighbours, so that case checks its middle marker only.
    const struct {
        const char* points;
        int smoothing;
        std::vector<double> checkedX;
    } cases[] = {
        {"(1, 1) (3, 3) (5, 5)", 3, {3}},
        {"(1, 2) (2, 6) (7, 3) (9, 8) (10, 4)", 6, {1, 2, 7, 9, 10}},
        {"(0, 5) (2, 1) (7, 4) (10, 9) (20, 2)", 6, {0, 2, 7, 10, 20}},
    };
    for (const auto& c : cases) {
        model.ClearData();
        Load({c.points});
        model.SetGraphType(kCurveGraph);
        model.SetOption(&PlotOptions::showPoints, false);
        model.SetOption(&PlotOptions::smoothing, c.smoothing);
        Draw();
        const PlotGeometry& s = Geometry();
        for (const double x : c.checkedX) {
            const PointList& points = model.AllSeries()[0];
            const auto point = std::find_if(points.begin(), points.end(), [x](const DataPoint& p) { return p.x == x; });
            ASSERT_NE(point, points.end());
            // The marker's column; the curve's last drawn pixel is two short of the plot's edge
            // (its last vertex is one short, and a line leaves out its end pixel).
            const int column = std::min(s.cornerx + static_cast<int>(std::lround((x - s.minX) / s.maxextentX * s.xwid)),
                                        s.cornerx + s.xwid - 2);
            const double row = s.bottomy - (point->y - s.minY) / s.maxextentY * s.ywid;
            int nearest = 1000;
            for (int y = 0; y < 400; ++y)
                if (At(column, y) == kRed)
                    nearest = std::min(nearest, static_cast<int>(std::fabs(y - row)));
            EXPECT_LE(nearest, 1) << c.points << " at X " << x;
        }
    }
}

TEST_F(RenderSeries, LegendListsDisplayedSeriesAtTheTopRight)
{
    Load({"1 2 3", "4 5 6 ;Costs"});
    Canvas measure;
    measure.Font().SetHeight(14);
    const int m = std::max(measure.TextExtent(QStringLiteral("Series 1")).width(),
                           measure.TextExtent(QStringLiteral("Costs")).width());
    const int x = 600 - (m + 10);

    Draw();
    EXPECT_GT(Count(x, 10, m, 14, kRed), 10);   // "Series 1" in Series1Color
    EXPECT_GT(Count(x, 24, m, 14, kGreen), 10); // "Costs" in Series2Color
    EXPECT_EQ(At(x - 14, 13), kRed);            // a cross before series 1
    EXPECT_GT(Count(x - 15, 26, 11, 11, kGreen), 6); // an open circle before series 2
    EXPECT_EQ(Count(x, 0, m, 10, kRed) + Count(x, 0, m, 10, kGreen), 0);

    model.SetSeriesBoxChecked(1, false); // only series 2, at the top, as far left as before
    Draw();
    EXPECT_GT(Count(x, 10, m, 14, kGreen), 10);
    EXPECT_EQ(Count(x - 20, 0, m + 20, 60, kRed), 0);
    EXPECT_GT(Count(x - 15, 12, 11, 11, kGreen), 6);

    model.SetSeriesBoxChecked(1, true);
    model.SetGraphType(kBarGraph); // no markers beside the names
    Draw();
    EXPECT_GT(Count(x, 10, m, 14, kRed), 10);
    EXPECT_EQ(Count(x - 16, 0, 16, 60, kRed), 0);

    model.SetOption(&PlotOptions::showLegend, false);
    model.SetGraphType(kLineGraph);
    Draw();
    EXPECT_EQ(Count(x - 20, 0, m + 20, 60, kRed) + Count(x - 20, 0, m + 20, 60, kGreen), 0);
}

TEST_F(RenderSeries, TitleKeepsClearOfTheLegend)
{
    // At the window's surface size the example's title, centred, would run under the legend:
    // it is centred in the room left of the legend instead, smaller when that room is narrow,
    // and cut short with an ellipsis when even the smallest size is too wide. Nothing else is
    // drawn above the plot with the points unmarked, so the title's ink (navy) and the
    // legend's (the series' colours) are told apart by colour.
    const QString example = QStringLiteral(PLOTWELL_SOURCE_DIR "/resources/example points 1 - simple series.txt");
    const QString longTitle = QStringLiteral("Monthly sales of the three shops in the old town, all branches, 2024 to 2026");
    const struct {
        int width;
        QString title; // empty: the example's own, from its file name
        int series;    // shown in the legend
    } cases[] = {
        {469, QString(), 3}, {360, QString(), 3}, {300, QString(), 3}, {469, longTitle, 3}, {469, QString(), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 wide, %2").arg(c.width).arg(c.title).toStdString());
        LoadDataFile(model, example);
        if (!c.title.isEmpty())
            model.SetTitle(c.title);
        for (int n = c.series + 1; n <= 3; ++n)
            model.SetSeriesBoxChecked(n, false);
        model.SetOption(&PlotOptions::showPoints, false);
        model.SetOption(&PlotOptions::titleColor, kNavy);
        Draw(c.width, 399);
        const int top = Geometry().bottomy - Geometry().ywid;
        const QRect title = InkBox(canvas, {kNavy}, top);
        const QRect legend = InkBox(canvas, {kRed, kGreen, 0x00FF0000}, top);
        ASSERT_FALSE(title.isEmpty());
        ASSERT_FALSE(legend.isEmpty());
        EXPECT_LT(title.right() + 4, legend.left()) << "title " << title.left() << ".." << title.right()
                                                    << ", legend from " << legend.left();
        EXPECT_GE(title.left(), 0);
        EXPECT_GT(title.width(), c.width / 3); // still a title, not a dot
    }
}

TEST_F(RenderSeries, TitleThatFitsStaysCentredAcrossTheSurface)
{
    // With room beside the legend the title is where it would be without a legend: the rows
    // above the plot, left of the legend, are the same pixels either way.
    const QString example = QStringLiteral(PLOTWELL_SOURCE_DIR "/resources/example points 1 - simple series.txt");
    for (const auto& [width, title] : {std::pair{800, QString()}, std::pair{469, QStringLiteral("Sales")}}) {
        LoadDataFile(model, example);
        if (!title.isEmpty())
            model.SetTitle(title);
        model.SetOption(&PlotOptions::showPoints, false);
        model.SetOption(&PlotOptions::showLegend, true);
        Draw(width, 399);
        const int top = Geometry().bottomy - Geometry().ywid;
        const QRect legend = InkBox(canvas, {kRed, kGreen, 0x00FF0000}, top);
        ASSERT_FALSE(legend.isEmpty());
        const QRect above(0, 0, legend.left() - 1, top);
        const QImage withLegend = canvas.Image().copy(above);
        model.SetOption(&PlotOptions::showLegend, false);
        Draw(width, 399);
        EXPECT_TRUE(canvas.Image().copy(above) == withLegend) << width;
        EXPECT_GT(Count(0, 0, legend.left() - 1, top, kBlack), 50) << width; // the title is there
    }
}

TEST_F(RenderSeries, TitleAndAxisLabels)
{
    Load({"10 20 40 ;Sales"});
    Draw();
    EXPECT_GT(Count(200, 20, 200, 25, kBlack), 20); // the lone series' name as the title
    // "Value" turned upright, 20 pixels left of the widest Y tick label ("40"), centred on
    // the Y axis; "Datum" centred under the plot.
    EXPECT_GT(Count(10, 190, 20, 70, kBlack), 10);
    EXPECT_EQ(Count(10, 83, 20, 100, kBlack), 0);
    EXPECT_GT(Count(270, 390, 60, 10, kBlack), 10);

    model.ClearData();
    Load({"10 20 40 ;Sales", "5 6 7 ;Costs"});
    Draw();
    EXPECT_EQ(Count(100, 0, 350, 60, kBlack), 0); // no title for two series

    model.SetTitle(QStringLiteral("Quarterly"));
    model.SetOption(&PlotOptions::xLabel, QString());
    Draw();
    EXPECT_GT(Count(200, 20, 200, 25, kBlack), 20);
    EXPECT_EQ(Count(200, 390, 200, 10, kBlack), 0); // an empty X label draws nothing
}
