// Redraws through the model's drawing index must give exactly the pixels of a drawing that
// walks every point, and the index must follow every change of the series.
#include "core/recording_sink.h"
#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "graph/data/plot_mapping.h"
#include "graph/draw/renderer.h"
#include "graph/data/series_index.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace plotwell;

namespace {

enum class Shape { Noise, Levels, Walk, Drift, Constant, Rising, Falling, NoiseAbove };
enum class Gaps { None, Sparse, Leading, LongRuns };
enum class XKind { Bare, RepeatedX, Unordered, OwnX };

struct IndexCase
{
    const char* name;
    int width, height;
    int points;
    Shape shape;
    Gaps gaps = Gaps::None;
    XKind x = XKind::Bare;
    int series = 1;
    int lineWidth = 1;
    GraphKind type = kLineGraph;
    bool area = false;
    bool markers = false; // eight series show every marker shape
    int hidden = 0;       // a series whose box is cleared
};

double YOf(Shape shape, int i, int points, double& level, QRandomGenerator& random)
{
    switch (shape) {
    case Shape::Noise:
        return random.generateDouble() * 200 - 100;
    case Shape::NoiseAbove: // in hundredths, as the benchmark's noise: now and then a 0
        return random.bounded(10001) / 100.0;
    case Shape::Levels: // few distinct values: many equal extremes within a column
        return random.bounded(4) * 0.5;
    case Shape::Walk:
        return level = std::clamp(level + random.bounded(7) - 3, 0.0, 100.0);
    case Shape::Drift: // steps below a row, now and then a jump
        level += random.bounded(300) == 0 ? random.generateDouble() * 40 - 20 : random.generateDouble() * 0.04 - 0.02;
        return level = std::clamp(level, 0.0, 100.0);
    case Shape::Constant:
        return 42;
    case Shape::Rising:
        return i * 0.25;
    case Shape::Falling:
        return points - i;
    }
    return 0;
}

bool IsGap(Gaps gaps, int i, QRandomGenerator& random)
{
    switch (gaps) {
    case Gaps::None:
        return false;
    case Gaps::Sparse:
        return random.bounded(40) == 0;
    case Gaps::Leading:
        return i < 300;
    case Gaps::LongRuns:
        return (i / 5000) % 3 == 1 || random.bounded(100) == 0;
    }
    return false;
}

void Fill(PlotModel& model, const IndexCase& c, QRandomGenerator& random)
{
    for (int s = 1; s <= c.series; ++s) {
        model.AddSeries();
        double level = 50;
        for (int i = 0; i < c.points; ++i) {
            const double y = YOf(c.shape, i, c.points, level, random);
            double x = nullvalue; // its position
            if (c.x == XKind::RepeatedX)
                x = i / 7 + 1;
            else if (c.x == XKind::Unordered)
                x = random.bounded(c.points) + 1;
            else if (c.x == XKind::OwnX)
                x = 2.5 * i + 7;
            model.AddPoint(s, x, IsGap(c.gaps, i, random) ? nullvalue : y);
        }
    }
}

// A random walk of 20,000 bare values onto series 1.
void AddWalk(PlotModel& model, quint32 start)
{
    QRandomGenerator random(start);
    double level = 50;
    for (int i = 0; i < 20000; ++i)
        model.AddPoint(1, nullvalue, level = std::clamp(level + random.bounded(9) - 4, 0.0, 100.0));
}

QImage Drawing(PlotModel& model, int width, int height, bool indexed)
{
    Canvas canvas;
    canvas.SetSize(width, height);
    DrawRequest request;
    request.useDrawingIndex = indexed;
    DrawGraph(model, canvas, request);
    return canvas.Image();
}

} // namespace

TEST(DrawingIndex, SamePixelsAsWalkingEveryPoint)
{
    const IndexCase cases[] = {
        {"noise", 600, 400, 60000, Shape::Noise},
        {"noise, full HD", 1920, 1080, 250000, Shape::Noise},
        {"few levels, ties in every column", 600, 400, 50000, Shape::Levels, Gaps::Sparse},
        {"random walk with gaps", 600, 400, 40000, Shape::Walk, Gaps::Sparse},
        {"random walk, three series", 600, 400, 30000, Shape::Walk, Gaps::None, XKind::Bare, 3},
        {"constant", 600, 400, 20000, Shape::Constant},
        {"constant with long gaps", 1920, 1080, 40000, Shape::Constant, Gaps::LongRuns},
        {"rising", 600, 400, 33333, Shape::Rising},
        {"falling, leading gaps", 600, 400, 9000, Shape::Falling, Gaps::Leading},
        {"long gaps, whole columns empty", 600, 400, 60000, Shape::Noise, Gaps::LongRuns},
        {"repeated X values", 600, 400, 20000, Shape::Walk, Gaps::Sparse, XKind::RepeatedX},
        {"unordered X (drawn without blocks)", 600, 400, 3000, Shape::Noise, Gaps::Sparse, XKind::Unordered},
        {"just above the columns", 600, 400, 481, Shape::Noise},
        {"fewer points than columns", 600, 400, 300, Shape::Walk, Gaps::Sparse},
        {"one block and one point", 160, 120, 17, Shape::Noise},
        {"few columns, many points", 160, 120, 5000, Shape::Walk, Gaps::Sparse},
        {"line width 2", 600, 400, 40000, Shape::Walk, Gaps::Sparse, XKind::Bare, 1, 2},
        {"filled area", 600, 400, 20000, Shape::Walk, Gaps::Sparse, XKind::Bare, 2, 3, kLineGraph, true},
        {"filled area, several values per row", 600, 400, 40000, Shape::Noise, Gaps::Sparse, XKind::Bare, 1, 1, kLineGraph,
         true},
        {"filled area, few levels", 600, 400, 30000, Shape::Levels, Gaps::None, XKind::Bare, 1, 2, kLineGraph, true},
        {"filled area, starting with gaps", 600, 400, 9000, Shape::Falling, Gaps::Leading, XKind::Bare, 1, 3, kLineGraph,
         true},
        {"filled area, long gaps, full HD", 1920, 1080, 60000, Shape::Noise, Gaps::LongRuns, XKind::Bare, 1, 1, kLineGraph,
         true},
        {"filled area, repeated X", 600, 400, 20000, Shape::Noise, Gaps::Sparse, XKind::RepeatedX, 1, 2, kLineGraph, true},
        {"filled area, drifting, full HD, markers", 1920, 1080, 200000, Shape::Drift, Gaps::Sparse, XKind::Bare, 8, 2,
         kLineGraph, true, true},
        {"filled area, width 30", 600, 400, 40000, Shape::Noise, Gaps::None, XKind::Bare, 2, 30, kLineGraph, true},
        {"filled area, few columns", 160, 120, 5000, Shape::Noise, Gaps::Sparse, XKind::Bare, 1, 2, kLineGraph, true},
        {"curve", 600, 400, 5000, Shape::Noise, Gaps::Sparse, XKind::Bare, 2, 1, kCurveGraph},
        {"curve, full HD", 1920, 1080, 200000, Shape::Drift, Gaps::None, XKind::Bare, 3, 2, kCurveGraph},
        {"curve, long gaps, whole groups empty", 600, 400, 60000, Shape::Noise, Gaps::LongRuns, XKind::Bare, 1, 2,
         kCurveGraph},
        {"curve of repeated X, filled", 600, 400, 20000, Shape::Walk, Gaps::Sparse, XKind::RepeatedX, 2, 2, kCurveGraph,
         true},
        {"curve, few columns", 160, 120, 5000, Shape::Noise, Gaps::Sparse, XKind::Bare, 1, 1, kCurveGraph},
        {"bars", 600, 400, 400, Shape::Walk, Gaps::Sparse, XKind::Bare, 2, 1, kBarGraph},
        // Wide lines, markers and bars of many points to a column.
        {"line width 5", 600, 400, 40000, Shape::Noise, Gaps::Sparse, XKind::Bare, 2, 5},
        {"line width 30, full HD", 1920, 1080, 100000, Shape::Walk, Gaps::Sparse, XKind::Bare, 2, 30},
        {"markers, width 2, the window's size", 469, 399, 40000, Shape::Walk, Gaps::Sparse, XKind::Bare, 8, 2, kLineGraph,
         false, true},
        {"markers, noise, full HD", 1920, 1080, 100000, Shape::Noise, Gaps::None, XKind::Bare, 1, 1, kLineGraph, false,
         true},
        {"markers of every shape, full HD", 1920, 1080, 100000, Shape::Walk, Gaps::Sparse, XKind::Bare, 8, 2, kLineGraph,
         false, true},
        {"markers, few levels, width 5", 600, 400, 40000, Shape::Levels, Gaps::Sparse, XKind::Bare, 8, 5, kLineGraph, false,
         true},
        {"markers, constant with long gaps, width 30", 600, 400, 20000, Shape::Constant, Gaps::LongRuns, XKind::Bare, 1, 30,
         kLineGraph, false, true},
        {"markers, drifting by less than a row, full HD", 1920, 1080, 200000, Shape::Drift, Gaps::None, XKind::Bare, 8, 2,
         kLineGraph, false, true},
        {"markers, drifting with gaps", 469, 399, 100000, Shape::Drift, Gaps::Sparse, XKind::Bare, 3, 2, kLineGraph, false,
         true},
        {"markers, drifting with long gaps, width 5", 600, 400, 60000, Shape::Drift, Gaps::LongRuns, XKind::Bare, 2, 5,
         kLineGraph, false, true},
        {"markers, repeated X", 600, 400, 20000, Shape::Walk, Gaps::Sparse, XKind::RepeatedX, 3, 2, kLineGraph, false,
         true},
        {"markers over a filled area", 600, 400, 30000, Shape::Rising, Gaps::None, XKind::Bare, 2, 2, kLineGraph, true,
         true},
        {"markers, unordered X", 600, 400, 3000, Shape::Noise, Gaps::Sparse, XKind::Unordered, 2, 2, kLineGraph, false,
         true},
        {"curve, markers, width 5", 600, 400, 30000, Shape::Walk, Gaps::Sparse, XKind::Bare, 2, 5, kCurveGraph, false,
         true},
        {"bars, many points to a column", 469, 399, 60000, Shape::Walk, Gaps::Sparse, XKind::Bare, 2, 2, kBarGraph},
        {"bars with zeros", 600, 400, 40000, Shape::Levels, Gaps::Sparse, XKind::Bare, 1, 2, kBarGraph},
        {"bars through zero, full HD, markers", 1920, 1080, 100000, Shape::Noise, Gaps::LongRuns, XKind::Bare, 1, 2,
         kBarGraph, false, true},
        {"bars of (X,Y) points", 600, 400, 30000, Shape::Walk, Gaps::Sparse, XKind::RepeatedX, 2, 1, kBarGraph},
        {"bars of noise above 0, now and then a 0", 469, 399, 200000, Shape::NoiseAbove, Gaps::Sparse, XKind::Bare, 3, 2,
         kBarGraph},
        {"bars of zeros and small values, full HD", 1920, 1080, 100000, Shape::Levels, Gaps::LongRuns, XKind::Bare, 1, 2,
         kBarGraph},
        {"bars of (X,Y) noise above 0", 600, 400, 60000, Shape::NoiseAbove, Gaps::None, XKind::OwnX, 2, 2, kBarGraph},
        {"stacked bars", 600, 400, 40000, Shape::Walk, Gaps::Sparse, XKind::Bare, 3, 2, kStackedGraph},
        // Stacks of many positions to a column, drawn a column at a time.
        {"stacks of noise, the window's size", 469, 399, 60000, Shape::NoiseAbove, Gaps::None, XKind::Bare, 8, 2,
         kStackedGraph, false, true},
        {"stacks of noise, full HD", 1920, 1080, 200000, Shape::NoiseAbove, Gaps::None, XKind::Bare, 4, 2, kStackedGraph},
        {"stacks of noise with gaps, a series hidden", 600, 400, 60000, Shape::NoiseAbove, Gaps::Sparse, XKind::Bare, 4, 2,
         kStackedGraph, false, false, 2},
        {"stacks of noise, long gaps", 600, 400, 60000, Shape::NoiseAbove, Gaps::LongRuns, XKind::Bare, 3, 2,
         kStackedGraph},
        {"stacks with many zeros", 600, 400, 50000, Shape::Levels, Gaps::Sparse, XKind::Bare, 5, 2, kStackedGraph},
        {"stacks of walks", 469, 399, 80000, Shape::Walk, Gaps::Sparse, XKind::Bare, 3, 2, kStackedGraph},
        {"stacks drifting by less than a row, full HD", 1920, 1080, 100000, Shape::Drift, Gaps::Sparse, XKind::Bare, 3, 2,
         kStackedGraph},
        {"stacks, constant", 600, 400, 20000, Shape::Constant, Gaps::None, XKind::Bare, 2, 2, kStackedGraph},
        {"stacks, rising", 600, 400, 30000, Shape::Rising, Gaps::None, XKind::Bare, 2, 2, kStackedGraph},
        {"stacks, few columns", 160, 120, 5000, Shape::NoiseAbove, Gaps::Sparse, XKind::Bare, 3, 2, kStackedGraph},
        {"stacks of (X,Y) points", 600, 400, 50000, Shape::NoiseAbove, Gaps::None, XKind::OwnX, 4, 2, kStackedGraph},
        {"stacks of (X,Y) points with gaps, full HD", 1920, 1080, 100000, Shape::Walk, Gaps::Sparse, XKind::OwnX, 3, 2,
         kStackedGraph, false, false, 3},
        {"stacks of (X,Y) points, long gaps", 469, 399, 60000, Shape::NoiseAbove, Gaps::LongRuns, XKind::OwnX, 2, 2,
         kStackedGraph},
        {"stacks of repeated X", 600, 400, 20000, Shape::Walk, Gaps::Sparse, XKind::RepeatedX, 2, 2, kStackedGraph},
    };
    QRandomGenerator random(15);
    for (const IndexCase& c : cases) {
        RecordingSink sink;
        PlotModel model(sink);
        Fill(model, c, random);
        if (c.hidden)
            model.SetSeriesBoxChecked(c.hidden, false);
        model.SetGraphType(c.type);
        model.SetOption(&PlotOptions::showPoints, c.markers);
        model.SetOption(&PlotOptions::lineWidth, c.lineWidth);
        model.SetOption(&PlotOptions::drawArea, c.area);
        const QImage plain = Drawing(model, c.width, c.height, false);
        // Not two empty pictures: series 1 shows.
        const RgbColor color = model.Options().SeriesColorOf(1);
        const QRgb series = qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF) & 0xFFFFFF;
        int shown = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                shown += (plain.pixel(x, y) & 0xFFFFFF) == series;
        EXPECT_GT(shown, c.width / 10) << c.name;
        // Twice: the first drawing builds the index, the second finds it.
        EXPECT_TRUE(Drawing(model, c.width, c.height, true) == plain) << c.name;
        EXPECT_TRUE(Drawing(model, c.width, c.height, true) == plain) << c.name << ", redrawn";
        EXPECT_EQ(model.DrawingIndex(1).HasBlocks(), c.x != XKind::Unordered) << c.name;
    }
}

// Every change of the store reaches the index: a redraw after it draws the new points.
TEST(DrawingIndex, FollowsChangesOfTheSeries)
{
    struct Change
    {
        const char* name;
        void (*apply)(PlotModel&);
    };
    const Change changes[] = {
        {"cleared and loaded again, same length",
         [](PlotModel& m) {
             m.ClearData();
             m.AddSeries();
             AddWalk(m, 2);
         }},
        {"points rewritten in place, then announced as the loader does",
         [](PlotModel& m) {
             PointList& points = SeriesWriter(m).Points(1);
             for (std::size_t i = 0; i < points.size(); ++i)
                 points.SetY(i, 100 - points.Y(i));
             emit m.changed(PlotModel::Change::Series);
         }},
        {"a point added", [](PlotModel& m) { m.AddPoint(1, nullvalue, 250); }},
        {"sorted after an X out of order",
         [](PlotModel& m) {
             m.AddPoint(1, 5.5, 300);
             m.SortPoints(1, 0, 30000);
         }},
        {"points parsed into a new series", [](PlotModel& m) { AddSeriesFromString(m, QStringLiteral("1 2 3 99"), true); }},
    };
    for (const Change& change : changes) {
        RecordingSink sink;
        PlotModel model(sink);
        model.AddSeries();
        AddWalk(model, 1);
        model.SetOption(&PlotOptions::showPoints, false);
        Drawing(model, 600, 400, true); // builds the index of the points before the change
        change.apply(model);
        EXPECT_TRUE(Drawing(model, 600, 400, true) == Drawing(model, 600, 400, false)) << change.name;
    }
}

TEST(DrawingIndex, CostsAtMostAQuarterOfThePoints)
{
    for (const int points : {1000, 100000, 1000000}) {
        PointList ordered(static_cast<std::size_t>(points), DataPoint{1, 2});
        for (std::size_t i = 0; i < ordered.size(); ++i)
            ordered.SetPoint(i, DataPoint{static_cast<double>(i), ordered.Y(i)});
        const SeriesIndex index(ordered);
        ASSERT_TRUE(index.HasBlocks());
        EXPECT_LE(index.MemoryBytes(), ordered.size() * sizeof(DataPoint) / 4) << points;
        // Long series: a quarter even of bare values kept as their Y alone.
        if (points >= 100000) {
            EXPECT_LE(index.MemoryBytes(), ordered.size() * sizeof(double) / 4) << points;
        }
    }
}

// Stacked bars keep their own index beside those of the series: all of it within a quarter of
// the bare values.
TEST(DrawingIndex, StacksAndSeriesCostAtMostAQuarterOfThePoints)
{
    RecordingSink sink;
    PlotModel model(sink);
    QRandomGenerator random(3);
    Fill(model, IndexCase{"stacks", 469, 399, 200000, Shape::NoiseAbove, Gaps::None, XKind::Bare, 8}, random);
    model.SetGraphType(kStackedGraph);
    Drawing(model, 469, 399, true);
    EXPECT_GT(model.StackDrawingIndex(false)->MemoryBytes(), 0u);
    EXPECT_LE(model.DrawingIndexBytes(), 8 * 200000 * sizeof(double) / 4);
}

// The extremes of any run, and its bounds, against a walk through its points that keeps the
// first of equal values, on values with many ties (0 and -0 among them), infinities and long
// gaps.
TEST(DrawingIndex, RunExtremesAsAWalkFindsThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0, -0.0, 1.0, -1.0, 2.5, inf, -inf, 1e300};
    QRandomGenerator random(7);
    for (const int n : {17, 256, 257, 4096, 70000}) {
        PointList points(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const bool gap = (i / 700) % 4 == 3 || random.bounded(8) == 0;
            const double y = random.bounded(2) ? values[random.bounded(8)] : random.generateDouble() * 6 - 3;
            points.SetPoint(static_cast<std::size_t>(i), DataPoint{i + 1.0, gap ? nullvalue : y});
        }
        const SeriesIndex index(points);
        ASSERT_TRUE(index.HasBlocks());
        for (int trial = 0; trial < 400; ++trial) {
            std::size_t a = random.bounded(n);
            std::size_t b = a + 1 + random.bounded(std::min(n - static_cast<int>(a), trial < 200 ? 40 : n));
            if (trial == 0)
                a = 0, b = static_cast<std::size_t>(n);
            SeriesIndex::Run expected;
            double largestStep = 0; // between consecutive plotted points
            double previous = nullvalue;
            for (std::size_t i = a; i < b; ++i) {
                const double y = points[i].y;
                if (IsNullValue(y))
                    continue;
                if (!IsNullValue(previous)) {
                    const double step = std::fabs(y - previous);
                    largestStep = std::max(largestStep, step != step ? inf : step);
                }
                previous = y;
                if (!expected.any) {
                    expected.any = true;
                    expected.first = expected.lowest = expected.highest = i;
                    expected.minY = expected.maxY = y;
                }
                expected.last = i;
                if (y < expected.minY)
                    expected.minY = y, expected.lowest = i;
                if (y > expected.maxY)
                    expected.maxY = y, expected.highest = i;
            }
            const SeriesIndex::Run run = index.Extremes(points, a, b);
            const auto where = [&] { return std::to_string(n) + " [" + std::to_string(a) + ", " + std::to_string(b) + ")"; };
            ASSERT_EQ(run.any, expected.any) << where();
            EXPECT_EQ(index.BoundsOf(points, a, b).any, expected.any) << where();
            if (!expected.any)
                continue;
            EXPECT_EQ(run.first, expected.first) << where();
            EXPECT_EQ(run.last, expected.last) << where();
            EXPECT_EQ(run.lowest, expected.lowest) << where();
            EXPECT_EQ(run.highest, expected.highest) << where();
            const SeriesIndex::Bounds bounds = index.BoundsOf(points, a, b);
            EXPECT_TRUE(bounds.any) << where();
            EXPECT_EQ(bounds.minY, expected.minY) << where();
            EXPECT_EQ(bounds.maxY, expected.maxY) << where();
            EXPECT_GE(bounds.largestStep, largestStep) << where(); // never less, so never a row left out
        }
    }
}

// Without gaps the step of a run is its largest step, rounded up to 8 bits of precision, not
// the largest step beside it: a run of small steps next to a jump still counts as smooth.
TEST(DrawingIndex, LargestStepOfARunWithoutGaps)
{
    const struct
    {
        const char* name;
        double (*y)(int i);
        std::size_t a, b;
        double step;
    } cases[] = {
        {"rising evenly, whole blocks", [](int i) { return i * 0.001; }, 256, 4096, 0.001},
        {"zigzag, ends inside blocks", [](int i) { return i % 2 ? 0.25 : -0.25; }, 7, 3001, 0.5},
        {"a jump inside the run", [](int i) { return i < 2000 ? i * 0.001 : 50.0; }, 1000, 2500, 50 - 1.999},
        {"a jump just past the run", [](int i) { return i < 2000 ? i * 0.001 : 50.0; }, 1000, 2000, 0.001},
    };
    for (const auto& c : cases) {
        PointList points(5000);
        for (std::size_t i = 0; i < points.size(); ++i)
            points.SetPoint(i, DataPoint{i + 1.0, c.y(static_cast<int>(i))});
        const SeriesIndex index(points);
        const double step = index.BoundsOf(points, c.a, c.b).largestStep;
        EXPECT_GE(step, c.step * (1 - 1e-9)) << c.name;
        EXPECT_LE(step, c.step * (1 + 1.0 / 128)) << c.name;
    }
}

TEST(DrawingIndex, NoBlocksWhereRunsWouldNotBeContiguous)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        const char* name;
        std::size_t at;
        DataPoint point;
    } cases[] = {
        {"X going back", 500, {3, 1}},
        {"NaN X", 500, {nan, 1}},
        {"NaN Y", 500, {501, nan}},
    };
    for (const auto& c : cases) {
        PointList points(1000);
        for (std::size_t i = 0; i < points.size(); ++i)
            points.SetPoint(i, DataPoint{i + 1.0, 1.0 * (i % 13)});
        points.SetPoint(c.at, c.point);
        const SeriesIndex index(points);
        EXPECT_FALSE(index.HasBlocks()) << c.name;
        EXPECT_EQ(index.Range().maxY, 12) << c.name; // the extremes are kept all the same
    }
}

// Infinities in the values (or in the axis scale made from them) can map a point to NaN, drawn
// at pixel 0, so that columns or rows go back although the values do not: the redraw must still
// give the pixels of the walk through the points.
TEST(DrawingIndex, InfiniteValuesDrawAsTheWalkDoes)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* name;
        double x, y; // the last point, after 20,000 values
        bool area;
    } cases[] = {
        {"infinite X last", inf, 50, false},
        {"infinite X last, filled area", inf, 50, true},
        {"Y of minus infinity, filled area", nullvalue, -inf, true},
        {"Y of infinity, filled area", nullvalue, inf, true},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        PlotModel model(sink);
        model.AddSeries();
        AddWalk(model, 3);
        model.AddPoint(1, c.x, c.y);
        model.SetOption(&PlotOptions::showPoints, false);
        model.SetOption(&PlotOptions::drawArea, c.area);
        EXPECT_TRUE(Drawing(model, 600, 400, true) == Drawing(model, 600, 400, false)) << c.name;
    }
}
