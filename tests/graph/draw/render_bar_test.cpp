// Bar and stacked bar graphs, by pixels: slots, (X,Y) bars, stacks and their totals.
#include "graph/draw/bar_series.h"
#include "graph/draw/render_frame.h"
#include "graph/draw/stack_totals.h"
#include "render_test_fixture.h"

#include <QRandomGenerator>

#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace plotwell;

namespace {

using RenderBars = RenderFixture;

constexpr RgbColor kBlue = 0x00FF0000;

// A pixel that has the colour, or (with `has` false) has not.
struct Pixel
{
    int x, y;
    RgbColor color;
    bool has = true;
};

// A rectangle without a pixel of the colour.
struct Without
{
    int x, y, w, h;
    RgbColor color;
};

// One drawing of bars or stacks (the surface is 600 x 400: the plot spans columns 60..539 and
// rows 82..369, the X axis lies on row 370) and what its pixels must show.
struct BarCase
{
    const char* name;
    std::vector<QByteArray> series;
    GraphKind type;
    std::vector<int> hidden; // Display Series boxes unchecked
    std::optional<double> xjmp;
    std::optional<double> maxextentY;
    std::vector<Pixel> pixels;
    std::vector<Without> without;
};

void PrintTo(const BarCase& c, std::ostream* os)
{
    *os << c.name;
}

// Bare values: 1000 positions, the second series 30 at position 901.
std::vector<QByteArray> BeyondPosition400()
{
    QByteArray low;
    QByteArray high;
    for (int i = 0; i < 1000; ++i) {
        low += "1 ";
        high += i == 900 ? "30 " : "2 ";
    }
    return {low, high};
}

const BarCase kBarCases[] = {
    // Slot 0 spans columns 60..219: series 1 in its left half, series 2 in its right half;
    // each bar from the value's row (1 of 0..6 is row 322, 4 is row 178) down to the X axis,
    // which stays.
    {"SeriesShareEachSlotSideBySide",
     {"1 2 3", "4 5 6"},
     kBarGraph,
     {},
     160,
     {},
     {{60, 369, kRed},
      {139, 369, kRed},
      {140, 369, kGreen},
      {219, 369, kGreen},
      {220, 369, kRed}, // slot 1
      {100, 322, kRed},
      {100, 321, kRed, false},
      {180, 178, kGreen},
      {180, 177, kGreen, false},
      {100, 370, kBlack}},
     {}},
    // A hidden series keeps its place in the slot empty: 5 in slot 1 (the axis now starts at 4).
    {"AHiddenSeriesKeepsItsPlaceInTheSlot",
     {"1 2 3", "4 5 6"},
     kBarGraph,
     {1},
     {},
     {},
     {{300, 369, kGreen}, {379, 369, kGreen}, {299, 369, kGreen, false}},
     {{60, 82, 480, 288, kRed}}},
    // xjmp 240, bars Round(240 / 6) = 40 wide: series 1 at 60..99, series 2 30 pixels further,
    // over it, at 90..129.
    {"XYBarsStandAtTheirXValueEachSeries30PixelsFurther",
     {"(1, 2) (3, 4)", "(1, 5) (2, 1)"},
     kBarGraph,
     {},
     {},
     {},
     {{60, 369, kRed}, {89, 369, kRed}, {90, 369, kGreen}, {129, 369, kGreen}, {130, 369, kGreen, false}},
     {}},
    // The shift counts displayed series only.
    {"XYBarsShiftByDisplayedSeriesOnly",
     {"(1, 2) (3, 4)", "(1, 5) (2, 1)"},
     kBarGraph,
     {1},
     {},
     {},
     {{60, 369, kGreen}, {100, 369, kGreen, false}},
     {}},
    {"ZeroBarsDrawNothing",
     {"1 0 3", "0 0 0", "2 2 2"},
     kBarGraph,
     {},
     {},
     {},
     {},
     {{220, 82, 160, 288, kRed}, {60, 82, 480, 288, kGreen}}},
    // At X = 1 the blue bar of 2 stands on the red 1: rows 197..311 over rows 312..369. At
    // X = 2, over the 0 of series 1, it starts at the X axis: columns 300..427.
    {"StacksGoOnFromTheTotalBelowAZero",
     {"1 0 3", "0 0 0", "2 2 2"},
     kStackedGraph,
     {},
     {},
     5,
     {{70, 369, kRed},
      {70, 312, kRed},
      {70, 311, kBlue},
      {70, 197, kBlue},
      {70, 196, kBlue, false},
      {300, 369, kBlue},
      {427, 255, kBlue},
      {428, 300, kBlue, false}},
     {{60, 82, 540, 288, kGreen}, {300, 82, 128, 288, kRed}}},
    // Positions that only the hidden series reaches carry no stack: 3 + 6 + 10.
    {"HiddenSeriesCountInTheStackTotals",
     {"1 2 3", "4 5 6", "10 10 10 50"},
     kStackedGraph,
     {3},
     {},
     19,
     {},
     {{0, 0, 600, 400, kBlue}}},
    // A hidden series with negative values lowers the totals (to 2 at most here); the axis
    // still reaches the displayed stacks, which top out at 10 on the plot's top row.
    {"HiddenNegativeSeriesLowerTheTotals",
     {"1 5 5", "5 5 5", "-8 -8 -8"},
     kStackedGraph,
     {3},
     {},
     10,
     {{310, 82, kGreen}},
     {{60, 0, 480, 82, kGreen}}},
    // Bars at position 901 of 1000 stand at column 492, the green one up to the top row.
    {"StacksOfBareValuesGoOnPastPosition400",
     BeyondPosition400(),
     kStackedGraph,
     {},
     {},
     31,
     {{492, 82, kGreen}, {492, 369, kRed}},
     {}},
    // Bars Round(240 / 4) = 60 wide. X = 1: 2 then 5 on it, up to the top row; X = 2 stands
    // alone from the axis.
    {"XYStacksMergeExactlyEqualXValues",
     {"(1, 2) (3, 4)", "(1, 5) (2, 1)"},
     kStackedGraph,
     {},
     {},
     7,
     {{70, 369, kRed},
      {70, 288, kRed},
      {70, 287, kGreen},
      {119, 82, kGreen},
      {120, 200, kGreen, false},
      {300, 369, kGreen},
      {300, 329, kGreen},
      {300, 328, kGreen, false}},
     {}},
};

struct BarPixels : RenderFixture, ::testing::WithParamInterface<BarCase>
{
};

} // namespace

TEST_P(BarPixels, ShowWhereEachBarStands)
{
    const BarCase& c = GetParam();
    for (const QByteArray& series : c.series)
        ASSERT_TRUE(AddSeriesFromString(model, QString::fromUtf8(series), true));
    model.SetGraphType(c.type);
    for (const int n : c.hidden)
        model.SetSeriesBoxChecked(n, false);
    Draw();
    EXPECT_EQ(Result().graphType, c.type);
    if (c.xjmp) {
        EXPECT_DOUBLE_EQ(Geometry().xjmp, *c.xjmp);
    }
    if (c.maxextentY) {
        EXPECT_DOUBLE_EQ(Geometry().maxextentY, *c.maxextentY);
    }
    for (const Pixel& p : c.pixels) {
        EXPECT_EQ(At(p.x, p.y) == p.color, p.has)
            << "at (" << p.x << ", " << p.y << "): " << std::hex << At(p.x, p.y) << (p.has ? " is not " : " is ")
            << p.color;
    }
    for (const Without& r : c.without)
        EXPECT_EQ(Count(r.x, r.y, r.w, r.h, r.color), 0)
            << "in " << r.w << " x " << r.h << " at (" << r.x << ", " << r.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Bars, BarPixels, ::testing::ValuesIn(kBarCases),
                         [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.name); });

TEST_F(RenderBars, BarsOfPositiveDataStandOnZero)
{
    // A higher bottom would hide the smallest bar, or the lowest series of a stack; line and
    // curve graphs keep their bottom.
    const struct {
        GraphKind type;
        double minY;
    } cases[] = {{kStackedGraph, 0}, {kBarGraph, 0}, {kLineGraph, 10}, {kCurveGraph, 10}};
    Load({"10 12", "10 12"});
    for (const auto& c : cases) {
        model.SetGraphType(c.type);
        Draw();
        EXPECT_EQ(Geometry().minY, c.minY) << c.type;
    }
    // The lowest series of the stack shows: red from the X axis up to half the stack of 20.
    model.SetGraphType(kStackedGraph);
    Draw();
    const PlotGeometry& s = Geometry();
    const int x = s.cornerx + 10;
    EXPECT_EQ(At(x, s.bottomy - 1), kRed);
    EXPECT_EQ(At(x, s.bottomy - s.ywid * 9 / 24), kRed);
    EXPECT_EQ(At(x, s.bottomy - s.ywid * 11 / 24), kGreen);
}

TEST_F(RenderBars, HiddenSeriesCountInTheStackTotals)
{
    // Positions that only the hidden series reaches carry no stack.
    Load({"1 2 3", "4 5 6", "10 10 10 50"});
    model.SetGraphType(kStackedGraph);
    model.SetSeriesBoxChecked(3, false);
    Draw();
    EXPECT_DOUBLE_EQ(Geometry().maxextentY, 19); // 3 + 6 + 10
    EXPECT_EQ(Count(0, 0, 600, 400, kBlue), 0);

    // A hidden series with negative values lowers the totals (to 2 at most here); the axis
    // still reaches the displayed stacks, which top out at 10 on the plot's top row.
    model.ClearData();
    Load({"1 5 5", "5 5 5", "-8 -8 -8"});
    model.SetGraphType(kStackedGraph);
    model.SetSeriesBoxChecked(3, false);
    Draw();
    EXPECT_EQ(Result().graphType, kStackedGraph);
    EXPECT_DOUBLE_EQ(Geometry().maxextentY, 10);
    EXPECT_EQ(At(310, 82), kGreen);
    EXPECT_EQ(Count(60, 0, 480, 82, kGreen), 0);
}

TEST_F(RenderBars, StacksOfBareValuesGoOnPastPosition400)
{
    QByteArray low;
    QByteArray high;
    for (int i = 0; i < 1000; ++i) {
        low += "1 ";
        high += i == 900 ? "30 " : "2 ";
    }
    Load({low.constData(), high.constData()});
    model.SetGraphType(kStackedGraph);
    Draw();
    EXPECT_DOUBLE_EQ(Geometry().maxextentY, 31);
    // Bars at position 901 of 1000 stand at column 492, the green one up to the top row.
    EXPECT_EQ(At(492, 82), kGreen);
    EXPECT_EQ(At(492, 369), kRed);
}

TEST_F(RenderBars, XYStacksMergeExactlyEqualXValues)
{
    Load({"(1, 2) (3, 4)", "(1, 5) (2, 1)"});
    model.SetGraphType(kStackedGraph);
    Draw();
    EXPECT_DOUBLE_EQ(Geometry().maxextentY, 7);
    // Bars Round(240 / 4) = 60 wide. X = 1: 2 then 5 on it, up to the top row.
    EXPECT_EQ(At(70, 369), kRed);
    EXPECT_EQ(At(70, 288), kRed);
    EXPECT_EQ(At(70, 287), kGreen);
    EXPECT_EQ(At(119, 82), kGreen);
    EXPECT_NE(At(120, 200), kGreen);
    // X = 2 stands alone from the axis.
    EXPECT_EQ(At(300, 369), kGreen);
    EXPECT_EQ(At(300, 329), kGreen);
    EXPECT_NE(At(300, 328), kGreen);
}

TEST_F(RenderBars, DateTicksOfBarKindsMoveRightOfTheirSteps)
{
    model.SetOption(&PlotOptions::vertGridLines, false);
    Load({"(1/1/20, 5) (2/20/20, 4)", "(1/1/20, 2) (2/20/20, 6)"});
    // step = 480 div 8 = 60; a tick marks the pixel under the axis.
    const struct {
        GraphKind type;
        int firstTick;
    } cases[] = {{kLineGraph, 60}, {kBarGraph, 90}, {kStackedGraph, 84}};
    for (const auto& c : cases) {
        model.SetGraphType(c.type);
        Draw();
        EXPECT_EQ(At(c.firstTick, 371), kBlack) << c.type;
        EXPECT_EQ(At(c.firstTick + 60, 371), kBlack) << c.type;
        EXPECT_EQ(Count(61, 371, c.firstTick - 61, 1, kBlack), 0) << c.type;
    }
}

TEST_F(RenderBars, HugeValuesAndTinySurfacesStayDrawable)
{
    for (const GraphKind type : {kBarGraph, kStackedGraph}) {
        for (const char* data : {"1e308 1.5e308", "(1e300, 1e308) (-1e300, 1e308)"}) {
            for (const QSize size : {QSize(600, 400), QSize(0, 0), QSize(3, 3)}) {
                model.ClearData();
                Load({data, data});
                model.SetGraphType(type);
                graphDrawn = 0;
                Draw(size.width(), size.height());
                EXPECT_EQ(graphDrawn, 1) << data;
                EXPECT_TRUE(std::isfinite(Geometry().maxextentY)) << data;
            }
        }
    }
    // Stacks of 2e308 are held at the largest double, which the top row shows.
    Draw();
    EXPECT_EQ(Result().graphType, kStackedGraph);
    EXPECT_GT(Count(60, 82, 480, 1, kGreen), 0);
}

TEST(BarSteps, BarsSharingColumnsSetTheSamePixelsAsEachBarDrawnAlone)
{
    // Several bars to a pixel column, with nulls, zeros, negative bars below a raised axis,
    // repeated X values and rows one apart: merged bars must draw what each bar alone would,
    // and the (X,Y) stacks must stand on the totals an ordered map keeps.
    QRandomGenerator random(11);
    constexpr int kPoints = 1000;
    constexpr int kSeries = 3;
    for (const bool stacked : {false, true}) {
        for (const bool xy : {false, true}) {
            RecordingSink sink;
            PlotModel model(sink);
            for (int s = 0; s < kSeries; ++s) {
                model.AddSeries();
                for (int i = 0; i < kPoints; ++i) {
                    const double x = xy ? random.bounded(700) : i + 1;
                    double y = stacked ? random.bounded(40.0) : random.bounded(100.0) - 30;
                    if (i % 13 == 0)
                        y = 0;
                    if (i % 97 == 5)
                        y = nullvalue;
                    model.AddPoint(s + 1, x, y);
                }
            }
            RenderFrame frame;
            frame.map = PlotMapping(PlotArea{60, 370, 480, 288}, AxisScale(xy ? 0 : 1, xy ? 699 : kPoints),
                                    stacked ? AxisScale(0, 120) : AxisScale(-30, 70));
            frame.cornery = stacked ? 370 : 284;
            frame.xjmp = 480.0 / kPoints;
            frame.seriesCount = kSeries;
            frame.anyxy = xy;

            Canvas drawn;
            Canvas reference;
            for (Canvas* c : {&drawn, &reference})
                c->SetSize(600, 400);
            StackTotals totals(model, xy);
            std::map<double, double> byX;
            std::vector<double> byPosition(kPoints, 0.0);
            const auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };
            for (int n = 1; n <= kSeries; ++n) {
                const RgbColor color = model.Options().SeriesColorOf(n);
                drawn.Pen().SetColor(color);
                if (stacked)
                    DrawStackedSeries(drawn, model, frame, n, totals);
                else
                    DrawBarSeries(drawn, model, frame, n, n);

                reference.Pen().SetColor(color);
                reference.Brush().SetColor(color);
                const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
                for (std::size_t j = 0; j < points.size(); ++j) {
                    const DataPoint& p = points[j];
                    if (IsNullPoint(p) || p.y == 0)
                        continue;
                    const int x = frame.map.Column(p.x);
                    if (!stacked && xy) {
                        const int shifted = x + (n - 1) * 30;
                        reference.Rectangle(shifted, frame.map.Row(p.y), shifted + round(frame.xjmp / (3 * kSeries)), frame.cornery);
                    } else if (!stacked) {
                        const int left = round(j * frame.xjmp + 60 + frame.xjmp / kSeries * (n - 1));
                        reference.Rectangle(left, frame.map.Row(p.y), round(left + frame.xjmp / kSeries), frame.cornery);
                    } else {
                        double& total = xy ? byX[p.x] : byPosition[j];
                        const int bottom = total == 0 ? 370 : frame.map.RowFrom(370, total);
                        const int right = xy ? x + round(frame.xjmp / (2 * kSeries)) : round(x + frame.xjmp - frame.xjmp / 5);
                        reference.Rectangle(x, frame.map.RowFrom(370, total + p.y), right, bottom);
                        total += p.y;
                    }
                }
            }
            EXPECT_TRUE(drawn.Image() == reference.Image()) << (stacked ? "stacked" : "bar") << (xy ? " (X,Y)" : "");
        }
    }
}
