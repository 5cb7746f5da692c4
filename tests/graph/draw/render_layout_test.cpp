// DrawGraph lays out the plot, the axes, ticks and grid by pixels, and leaves its geometry in
// the model.
#include "graph/data/compact_date.h"
#include "graph/data/plot_mapping.h"
#include "graph/draw/pointer_shape.h"
#include "render_test_fixture.h"
#include "support/test_support.h"

#include <QStringList>

#include <cmath>
#include <limits>
#include <new>
#include <utility>
#include <vector>

using namespace plotwell;

namespace {

using RenderLayout = RenderFixture;

// Rows of the Y ticks of 0..40 on a 400-pixel-high surface.
constexpr int kTickRows[] = {334, 298, 262, 226, 190, 154, 118, 82};

} // namespace

TEST_F(RenderLayout, AxesTicksAndGridOnA600x400Surface)
{
    model.SetOption(&PlotOptions::showPoints, false);
    Load({"40 40 30 10"}); // the first point sits on the top row, so the line misses the axes
    Draw();
    EXPECT_EQ(graphDrawn, 1);
    const PlotGeometry& s = Geometry();
    EXPECT_EQ(s.cornerx, 60);
    EXPECT_EQ(s.bottomy, 370);
    EXPECT_EQ(s.cornery, 370);
    EXPECT_EQ(s.xwid, 480);
    EXPECT_EQ(s.ywid, 288);
    EXPECT_EQ(s.minY, 0); // 10 / 30 < 0.5: the axis starts at 0
    EXPECT_EQ(s.maxextentY, 40);
    EXPECT_EQ(s.maxlimitY, 45);

    // A single series draws no legend, so the axes keep the pen width 1 of a new canvas.
    for (int y = 83; y <= 370; ++y)
        ASSERT_EQ(At(60, y), kBlack) << "Y axis row " << y;
    EXPECT_NE(At(60, 82), kBlack);
    EXPECT_NE(At(59, 200), kBlack);
    EXPECT_NE(At(61, 200), kBlack);
    for (int x = 60; x <= 539; ++x)
        ASSERT_EQ(At(x, 370), kBlack) << "X axis column " << x;
    EXPECT_NE(At(540, 370), kBlack);
    EXPECT_NE(At(300, 369), kBlack);

    // Horizontal grid lines: dotted grey from the axis to the right end, at every Y tick,
    // where the series line does not cross them.
    const auto gridDot = [&](int x, int y) { return At(x, y) == kGrey || At(x, y) == kRed; };
    for (const int y : kTickRows) {
        for (int x = 61; x <= 539; x += 2)
            ASSERT_TRUE(gridDot(x, y)) << x << ", " << y;
        EXPECT_GE(Count(62, y, 478, 1, kIvory), 150) << y; // the gaps between the dots
    }
    // X ticks at 1, 1.5, ..., 4: a tick pixel under the axis and a vertical grid line above.
    const int tickColumns[] = {60, 140, 220, 300, 380, 460, 540};
    EXPECT_EQ(Count(55, 371, 545, 1, kBlack), 7);
    for (const int x : tickColumns) {
        EXPECT_EQ(At(x, 371), kBlack) << x;
        EXPECT_NE(At(x, 372), kBlack) << x; // lineWidth 1: one tick pixel
        for (int y = 369; x != 60 && y >= 83; y -= 2)
            ASSERT_TRUE(gridDot(x, y)) << x << ", " << y;
    }
    // Background where nothing is drawn: above the plot (no title, no legend), right of it,
    // and inside it between the grid dots.
    EXPECT_EQ(Count(0, 0, 600, 60, kIvory), 600 * 60);
    EXPECT_EQ(Count(545, 60, 55, 300, kIvory), 55 * 300);
    EXPECT_EQ(At(150, 350), kIvory);
    // Tick labels left of the Y axis and under the X axis; none at 0 with a floating axis.
    EXPECT_GT(Count(20, 77, 35, 13, kBlack), 0); // "40"
    EXPECT_EQ(Count(20, 365, 35, 7, kBlack), 0);
    EXPECT_GT(Count(40, 374, 40, 13, kBlack), 0); // "1" under the first X tick
}

TEST_F(RenderLayout, FloatingXAxisOverNegativeValues)
{
    model.SetOption(&PlotOptions::showPoints, false);
    Load({"30 -10 0 20"});
    Draw();
    // The X axis a quarter of the plot height above the bottom, the first X label starting at
    // its tick, the others centred, and a "0" beside the axis.
    EXPECT_EQ(Geometry().cornery, 370 - 72);
    EXPECT_TRUE(Result().isnegative);
    for (int x = 60; x <= 539; ++x)
        ASSERT_EQ(At(x, 298) == kBlack || At(x, 298) == kRed, true) << x;
    EXPECT_EQ(Count(55, 299, 545, 1, kBlack), 7); // tick pixels, the first on the Y axis
    EXPECT_EQ(Count(50, 302, 10, 14, kBlack), 0); // nothing left of the first tick
    EXPECT_GT(Count(61, 302, 10, 14, kBlack), 0);    // "1" from column 60 on
    EXPECT_GT(Count(125, 302, 15, 14, kBlack), 0);   // "1.5" centred on 140
    EXPECT_GT(Count(20, 293, 40, 13, kBlack), 0);    // "0" beside the axis
    EXPECT_GT(Count(20, 365, 40, 11, kBlack), 0);    // "-10" at the bottom
    // The X axis label rises with the axis.
    EXPECT_GT(Count(250, 318, 100, 14, kBlack), 0);

    // Kept at the bottom without a floating axis.
    model.SetOption(&PlotOptions::floatingXAxis, false);
    Draw();
    EXPECT_EQ(Geometry().cornery, 370);
}

TEST_F(RenderLayout, RangeAndZeroBaseline)
{
    const struct {
        const char* series;
        double minY;
        double maxextentY;
        bool isnegative;
        int cornery;
    } cases[] = {
        {"20 25 30", 20, 10, false, 370},   // 20 / 10 >= 0.5
        {"5 10 30", 0, 30, false, 370},     // 5 / 25 < 0.5
        {"7", 0, 7, false, 370},            // a single value
        {"0 0 0", 0, 1, false, 370},        // no span at all
        {"-5 -4 -3", -5, 2, true, 82},      // 0 lies above the data: the axis floats to the top
        {"-5 -5 -5", -5, 5, true, 82},      // a constant below 0 hangs from the baseline
    };
    for (const auto& c : cases) {
        model.ClearData();
        Load({c.series});
        Draw();
        EXPECT_EQ(Geometry().minY, c.minY) << c.series;
        EXPECT_EQ(Geometry().maxextentY, c.maxextentY) << c.series;
        EXPECT_EQ(Result().isnegative, c.isnegative) << c.series;
        EXPECT_EQ(Geometry().cornery, c.cornery) << c.series;
        EXPECT_GT(Geometry().maxlimitY, 0) << c.series;
    }
    // One point: X spans 1, and a point position is the whole plot width.
    model.ClearData();
    Load({"(3, 4)"});
    Draw();
    EXPECT_EQ(Geometry().maxextentX, 1);
    EXPECT_EQ(Geometry().xjmp, 480);
}

TEST_F(RenderLayout, HiddenSeriesTakeNoPartInTheRange)
{
    Load({"1 2 3", "100 200 300 400 500"});
    model.SetSeriesBoxChecked(2, false);
    Draw();
    EXPECT_EQ(Geometry().minY, 1);
    EXPECT_EQ(Geometry().maxextentY, 2);
    EXPECT_EQ(Result().maxpts, 3);
    EXPECT_EQ(Geometry().xjmp, 160);
    EXPECT_FALSE(Result().hasnegative[2]);
}

TEST_F(RenderLayout, DatesGiveNineTicksOfWholeDays)
{
    model.SetOption(&PlotOptions::showPoints, false);
    model.SetOption(&PlotOptions::vertGridLines, false);
    Load({"(2020-01-01, 5) (2020-02-15, 9) (2020-06-30, 6)"});
    Draw();
    EXPECT_TRUE(model.AllSeriesInfo(1).isdates);
    EXPECT_EQ(Count(55, 371, 545, 1, kBlack), 9); // left of 55: the Y tick label "5"
    for (int k = 0; k <= 8; ++k)
        EXPECT_EQ(At(60 + 60 * k, 371), kBlack) << k;

    EXPECT_EQ(CompactDateFormat(QStringLiteral("dd/MM/yyyy")), QStringLiteral("d/M/yy"));
    EXPECT_EQ(CompactDateFormat(QStringLiteral("yyyy-MM-dd")), QStringLiteral("yy-M-d"));
    EXPECT_EQ(CompactDateFormat(QStringLiteral("M/d/yy")), QStringLiteral("M/d/yy"));
    // Month and day names keep their form: "MMM" is not a two-digit month.
    EXPECT_EQ(CompactDateFormat(QStringLiteral("d MMM yyyy")), QStringLiteral("d MMM yy"));
    EXPECT_EQ(CompactDateFormat(QStringLiteral("ddd dd.MM.yyyy")), QStringLiteral("ddd d.M.yy"));
    EXPECT_EQ(FormatCompactDate(43831.75, QStringLiteral("M/d/yy")), QStringLiteral("1/1/20"));
    {
        ScopedLocale german(QStringLiteral("de_DE"));
        EXPECT_EQ(FormatCompactDate(43841, CompactDateFormat()), QStringLiteral("11.1.20"));
    }
}

TEST_F(RenderLayout, WhatEmptyAndHiddenDataDraw)
{
    // An empty store: the background only, and no data found.
    Draw();
    EXPECT_EQ(graphDrawn, 0);
    EXPECT_EQ(Count(0, 0, 600, 400, kIvory), 600 * 400);

    // Every series hidden: data found but no axes, and the readout stays off.
    Load({"1 2 3 ;First", "4 5 6 ;Second"});
    model.SetSeriesBoxChecked(1, false);
    model.SetSeriesBoxChecked(2, false);
    Draw();
    EXPECT_EQ(graphDrawn, 1);
    EXPECT_EQ(Geometry().maxlimitY, 0);
    EXPECT_EQ(Count(0, 40, 600, 360, kIvory), 600 * 360);
}

TEST_F(RenderLayout, AFailedDrawingGivesThePointerBack)
{
    // The hook stands in for any step that fails once the hourglass shows.
    struct FailingPointer : PointerShape
    {
        bool failOnce = true;
        std::vector<CursorShape> shown;
        void SetCursor(CursorShape cursor) override
        {
            if (std::exchange(failOnce, false))
                throw std::bad_alloc();
            shown.push_back(cursor);
        }
    } pointer;
    Load({"1 2 3"});
    DrawRequest request;
    request.pointer = &pointer;
    EXPECT_THROW(DrawGraph(model, canvas, request), std::bad_alloc);
    EXPECT_TRUE(DrawGraph(model, canvas, request).foundData);
    EXPECT_EQ(pointer.shown, (std::vector<CursorShape>{kHourGlassCursor, kDefaultCursor}));
}

TEST_F(RenderLayout, OptionsPanelEffectsOfADrawing)
{
    Load({"1 2 3"});
    Draw();
    EXPECT_FALSE(Panel().displaySeriesShown); // a lone series
    EXPECT_FALSE(Panel().stackedEnabled);
    EXPECT_TRUE(Panel().pieEnabled);
    EXPECT_TRUE(Panel().drawAreaEnabled);

    model.ClearData();
    Load({"1 2 3", "4 -5 6"});
    model.SetGraphType(kStackedGraph);
    Draw();
    // Stacks cannot show negative values: the drawing draws a line graph instead.
    EXPECT_EQ(Result().graphType, kLineGraph);
    EXPECT_TRUE(Panel().displaySeriesShown);
    EXPECT_FALSE(Panel().stackedEnabled);
    EXPECT_FALSE(Panel().pieEnabled);
    EXPECT_TRUE(Result().hasnegative[2]);
    EXPECT_FALSE(Result().hasnegative[1]);

    model.ClearData();
    Load({"1 2 3", "4 5 6"});
    model.SetGraphType(kBarGraph);
    Draw();
    EXPECT_TRUE(Panel().stackedEnabled);
    EXPECT_TRUE(Panel().pieEnabled);
    EXPECT_FALSE(Panel().drawAreaEnabled);
}

TEST_F(RenderLayout, ExtremeDataAndSurfacesDrawWithoutFault)
{
    const char* data[] = {
        "1e300 2e300 1.5e300",   "-1e308 1e308",      "100000000000000000 100000000000000016",
        "1e-300 2e-300",         "5 5.00001 5.00002", "0.000001 0.000002",
        "(1e300, 1) (-1e300, 2)", "20000000 30000000",
    };
    for (const char* series : data) {
        for (const QSize size : {QSize(600, 400), QSize(0, 0), QSize(1, 1), QSize(5, 5), QSize(9, 30), QSize(30, 9)}) {
            model.ClearData();
            Load({series});
            graphDrawn = 0;
            Draw(size.width(), size.height());
            EXPECT_EQ(graphDrawn, 1) << series;
            EXPECT_TRUE(std::isfinite(Geometry().maxextentY)) << series;
            EXPECT_TRUE(std::isfinite(Geometry().xjmp)) << series;
        }
    }
    // Y ticks beyond 10 000 000 are drawn in the exponent form, and their labels fit left of
    // the axis.
    EXPECT_GT(Count(0, 77, 60, 300, kBlack), 0);
    EXPECT_EQ(Geometry().maxlimitY, 35000000);
}

TEST_F(RenderLayout, LongSeriesAreNotCutAt16Bits)
{
    model.SetOption(&PlotOptions::showPoints, false);
    QByteArray values;
    for (int i = 0; i < 70000; ++i)
        values += QByteArray::number(i % 1000 == 999 ? 100 : 50) + ' ';
    Load({values.constData()});
    Draw();
    EXPECT_EQ(Result().maxpts, 70000);
    EXPECT_DOUBLE_EQ(Geometry().xjmp, 480.0 / 70000);
    // The last point, at the right end of the plot, is drawn.
    EXPECT_GT(Count(535, 83, 6, 287, kRed), 0);
    // Every spike of 100 reaches the top row.
    EXPECT_GE(Count(60, 82, 481, 1, kRed), 60);
}

TEST(PlotMapping, LayoutMaxLimitAndClamping)
{
    const PlotArea a = ComputePlotArea(600, 400);
    EXPECT_EQ(a.cornerx, 60);
    EXPECT_EQ(a.bottomy, 370);
    EXPECT_EQ(a.xwid, 480);
    EXPECT_EQ(a.ywid, 288);
    const PlotArea tiny = ComputePlotArea(7, 3);
    EXPECT_EQ(tiny.xwid, 0);
    EXPECT_EQ(tiny.ywid, 0);

    const struct {
        double maxY, limit;
    } limits[] = {{347, 350}, {3.47, 3.5}, {0.05, 0.06}, {7.8, 8}, {10, 11}, {-347, 350}, {0, 1}, {1e300, 1.5e300}};
    for (const auto& l : limits)
        EXPECT_NEAR(MaxLimitY(l.maxY), l.limit, l.limit * 1e-12) << l.maxY;

    EXPECT_EQ(PixelRound(1e300), static_cast<int>(kPixelLimit));
    EXPECT_EQ(PixelRound(-1e300), -static_cast<int>(kPixelLimit));
    EXPECT_EQ(PixelRound(std::nan("")), 0);
    EXPECT_EQ(PixelRound(2.5), 2);
    const AxisScale wide(-1e308, 1e308);
    EXPECT_TRUE(std::isfinite(wide.Extent()));
    EXPECT_DOUBLE_EQ(wide.Fraction(1e308), 1.0);
    EXPECT_DOUBLE_EQ(wide.Fraction(0), 0.5);
}

TEST(PlotMapping, EveryFiniteRangeKeepsItsPointsInside)
{
    // Halving subnormal values rounds them; a span of a few of them once put points past the
    // right edge.
    const double d = std::numeric_limits<double>::denorm_min();
    const struct {
        double low, high;
    } ranges[] = {{d, 3 * d},   {d, 2 * d},        {0, d},        {-3 * d, 5 * d}, {1e-310, 1.0000001e-310},
                  {-1e308, 1e308}, {1, 1 + 2.3e-16}, {1e20, 1e20}, {-1e-300, 1e-300}, {7, 7}};
    const PlotArea area{60, 370, 480, 288};
    for (const auto& r : ranges) {
        SCOPED_TRACE(testing::Message() << r.low << " .. " << r.high);
        const AxisScale x(r.low, r.high);
        const PlotMapping map(area, x, AxisScale(0, 1));
        std::vector<DataPoint> points;
        for (int k = 0; k <= 8; ++k)
            points.push_back(DataPoint{r.low * (1 - k / 8.0) + r.high * (k / 8.0), 0.5});
        points.push_back(DataPoint{r.high, 0.5});
        std::vector<int> columns(points.size());
        std::vector<int> rows(points.size());
        map.MapPoints(points.data(), points.size(), columns.data(), rows.data());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_GE(map.Column(points[i].x), 60) << i;
            EXPECT_LE(map.Column(points[i].x), 540) << i;
            EXPECT_EQ(columns[i], map.Column(points[i].x)) << i;
        }
        EXPECT_EQ(map.Column(r.low), 60);
        if (r.high != r.low) {
            EXPECT_EQ(map.Column(r.high), 540);
        }
    }
}

// On a narrow surface the Y label keeps all its letters at the left edge.
TEST_F(RenderLayout, YLabelOfANarrowSurfaceIsWhole)
{
    model.SetOption(&PlotOptions::showPoints, false);
    Load({"100 200 150"});
    const auto labelPixels = [&](int width) {
        // The label's own black pixels left of the tick labels' ends: the same drawing with and
        // without it, counted.
        const auto black = [&](const QString& label) {
            model.SetOption(&PlotOptions::yLabel, label);
            Draw(width, 400);
            return Count(0, 0, Geometry().cornerx - 10, 400, kBlack);
        };
        return black(QStringLiteral("Value")) - black(QString());
    };
    const int wide = labelPixels(600);
    EXPECT_GT(wide, 20);
    EXPECT_EQ(labelPixels(400), wide);
}
