// DrawGraph of a view: the axes follow its ranges, the series stop at the plot area's edges,
// the drawing index draws the same pixels as the walk, bars zoom by whole positions and a
// pie has no view.

#include "render_test_fixture.h"

#include <QString>

#include <cmath>
#include <string>

namespace plotwell {

namespace {

PlotView XView(double low, double high)
{
    PlotView view;
    view.x = ViewSpan{low, high};
    return view;
}

// Points of a zigzag: bare values, or (X, Y) points at uneven X.
QString Zigzag(int count, bool xy)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        const double y = (i % 7) * 10 + (i % 3);
        text += xy ? QStringLiteral("(%1, %2) ").arg(i * 0.5 + (i % 4) * 0.1).arg(y) : QStringLiteral("%1 ").arg(y);
    }
    return text;
}

// 20000 values, 0 but for one peak, and others beyond the point after X = 19000: a view that
// ends there must not take the values beyond its span into the pixels at its edge.
QString OthersBeyond()
{
    QString text;
    for (int j = 0; j < 20000; ++j)
        text += j == 5000 ? QStringLiteral("100 ") : j > 19000 ? QStringLiteral("50 ") : QStringLiteral("0 ");
    return text;
}

// Where two pictures first differ, as "x,y (n pixels)", or empty when they are the same.
std::string Difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return "sizes differ";
    int n = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && n++ == 0)
                first = QPoint(x, y);
    return n == 0 ? std::string() : std::to_string(first.x()) + "," + std::to_string(first.y()) + " (" + std::to_string(n) + " pixels)";
}

} // namespace

struct RenderView : RenderFixture
{
    DrawingResult DrawView(const PlotView& view, bool indexed = true, int width = 600, int height = 400)
    {
        canvas.SetSize(width, height);
        DrawRequest request;
        request.view = view;
        request.useDrawingIndex = indexed;
        last = DrawGraph(model, canvas, request);
        return last;
    }

    // Pixels of a colour outside the plot area (its axis lines included).
    int OutsidePlot(RgbColor color) const
    {
        const PlotGeometry& g = Geometry();
        int n = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x) {
                const bool inside = x >= g.cornerx && x <= g.cornerx + g.xwid && y >= g.bottomy - g.ywid && y <= g.bottomy;
                n += !inside && At(x, y) == color;
            }
        return n;
    }
};

// The axes take the view's X range; Y fits the points inside it by the whole graph's rules.
TEST_F(RenderView, AxesFollowTheViewAndYFitsThePointsInside)
{
    Load({"5 6 100 120 110 7 8"});
    DrawView(XView(3, 5));
    EXPECT_DOUBLE_EQ(Geometry().minX, 3);
    EXPECT_DOUBLE_EQ(Geometry().maxextentX, 2);
    // 100..120 inside: far from 0, so the axis starts at 100.
    EXPECT_DOUBLE_EQ(Geometry().minY, 100);
    EXPECT_DOUBLE_EQ(Geometry().maxextentY, 20);
    EXPECT_EQ(Result().view, XView(3, 5));
    // The whole data's extremes stay the data's.
    EXPECT_DOUBLE_EQ(Result().dataMaxX, 7);
    // A Y range of its own is shown as it is.
    PlotView both = XView(3, 5);
    both.y = ViewSpan{-50, 50};
    DrawView(both);
    EXPECT_DOUBLE_EQ(Geometry().minY, -50);
    EXPECT_DOUBLE_EQ(Geometry().maxextentY, 100);
}

// The X axis floats at 0 in a view that shows 0, and stays at the bottom of one that does not.
TEST_F(RenderView, FloatingAxisOnlyWhereItsZeroIsShown)
{
    Load({"5 -10 -20 -30 -25 8"});
    model.SetOption(&PlotOptions::floatingXAxis, true);
    Draw();
    EXPECT_LT(Geometry().cornery, Geometry().bottomy); // the whole graph floats its axis
    DrawView(XView(1, 3));                             // 5 .. -20: 0 inside
    EXPECT_LT(Geometry().cornery, Geometry().bottomy);
    DrawView(XView(2, 5)); // -10 .. -30
    EXPECT_EQ(Geometry().cornery, Geometry().bottomy);
}

// Lines run to the plot area's edges and never past them, markers included, for lines of
// width 1 and 2 and a filled area.
TEST_F(RenderView, SeriesStopAtThePlotAreasEdges)
{
    Load({"0 100 0 100 0 100 0 100 0 100"});
    struct Case
    {
        const char* name;
        int width;
        bool points;
        bool area;
    } const cases[] = {{"thin", 1, false, false}, {"wide with markers", 2, true, false}, {"area", 1, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.SetOption(&PlotOptions::lineWidth, c.width);
        model.SetOption(&PlotOptions::showPoints, c.points);
        model.SetOption(&PlotOptions::drawArea, c.area);
        DrawView(XView(2.5, 7.5));
        EXPECT_EQ(OutsidePlot(kRed), 0);
        // The line leaves through both side edges.
        const PlotGeometry& g = Geometry();
        EXPECT_GT(Count(g.cornerx, g.bottomy - g.ywid, 1, g.ywid + 1, kRed), 0);
        EXPECT_GT(Count(g.cornerx + g.xwid, g.bottomy - g.ywid, 1, g.ywid + 1, kRed), 0);
    }
}

// Through the drawing index a view has the pixels of the plain walk, for points in X order,
// bare values and (X, Y) points out of order, at every depth: lines of width 1 and 2, markers
// (the index visits only the span's points) and bars (by column over the span).
TEST_F(RenderView, IndexDrawsTheWalksPixels)
{
    struct Case
    {
        const char* name;
        QString points;
    } const cases[] = {
        {"bare values", Zigzag(20000, false)},
        {"(X, Y) in order", Zigzag(20000, true)},
        {"(X, Y) out of order", QStringLiteral("(5, 1) (1, 9) (3, 4) (2, 7) (4, 2) (0, 5)")},
        {"other values beyond the span", OthersBeyond()},
    };
    const PlotView views[] = {XView(2, 19000), XView(101.5, 133.25), XView(3.3, 3.9), XView(1000, 1001)};
    struct Look
    {
        const char* name;
        GraphKind type;
        int width;
        bool points;
    } const looks[] = {{"line", kLineGraph, 1, false},
                       {"wide line", kLineGraph, 2, false},
                       {"wide line with markers", kLineGraph, 2, true},
                       {"markers", kLineGraph, 1, true},
                       {"bars with markers", kBarGraph, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.ClearData();
        ASSERT_TRUE(AddSeriesFromString(model, c.points, true));
        for (const PlotView& view : views) {
            SCOPED_TRACE(view.x->low);
            for (const Look& look : looks) {
                SCOPED_TRACE(look.name);
                model.SetGraphType(look.type);
                model.SetOption(&PlotOptions::lineWidth, look.width);
                model.SetOption(&PlotOptions::showPoints, look.points);
                // The canvas keeps the pen of the drawing before, which the axes start with.
                DrawView(view, true);
                DrawView(view, false);
                const QImage walked = canvas.Image();
                DrawView(view, true);
                EXPECT_EQ(Difference(canvas.Image(), walked), "");
            }
        }
    }
}

// Bars of bare values zoom by whole positions; a pie shows the whole data whatever the view.
TEST_F(RenderView, BarsByWholePositionsAndPieWithoutView)
{
    Load({"10 20 30 40 50 60"});
    model.SetGraphType(kBarGraph);
    DrawView(XView(2.3, 4.6));
    EXPECT_EQ(Result().view, XView(2, 5));
    // Four slots across the plot: the first bar (position 2) starts at the Y axis.
    EXPECT_DOUBLE_EQ(Geometry().xjmp, Geometry().xwid / 4.0);
    EXPECT_EQ(OutsidePlot(kRed), 0);

    model.SetGraphType(kPieGraph);
    Draw();
    const QImage whole = canvas.Image();
    DrawView(XView(2.3, 4.6));
    EXPECT_EQ(Difference(canvas.Image(), whole), "");
    EXPECT_FALSE(Result().view.Zoomed());
}

// Ranges at the ends of the doubles and views without points draw inside the plot area.
TEST_F(RenderView, ExtremeRangesStayInside)
{
    struct Case
    {
        const char* name;
        const char* points;
        PlotView view;
    } const cases[] = {
        {"near the largest double", "(-1e308, 1) (0, 5) (1e308, 2)", XView(-1e308, 1e308)},
        {"a subnormal span", "(0, 1) (1e-310, 5) (2e-310, 2)", XView(0.5e-310, 1.5e-310)},
        {"no point inside", "(0, 1) (10, 5)", XView(3, 4)},
        {"far beyond the data", "(0, 1) (10, 5)", XView(1e300, 1e301)},

    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.ClearData();
        Load({c.points});
        model.SetOption(&PlotOptions::showPoints, true);
        DrawView(c.view);
        EXPECT_TRUE(Result().foundData);
        EXPECT_EQ(OutsidePlot(kRed), 0);
        EXPECT_TRUE(std::isfinite(Geometry().maxextentX));
    }
    // A reversed or infinite range is no range: the whole graph.
    model.ClearData();
    Load({"(0, 1) (10, 5)"});
    for (const PlotView& view : {XView(4, 3), XView(-HUGE_VAL, 3), XView(3, 3)}) {
        DrawView(view);
        EXPECT_FALSE(Result().view.Zoomed());
        EXPECT_DOUBLE_EQ(Geometry().maxextentX, 10);
    }
}

} // namespace plotwell
