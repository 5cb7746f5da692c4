// A view learns everything it shows through PlotModel::changed: every change that a view shows
// is announced by the model itself, and a value set again to what it was stays quiet.

#include "core/recording_sink.h"
#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "graph/draw/renderer.h"
#include "support/test_support.h"

#include <QSignalSpy>

#include <functional>

using namespace plotwell;

namespace {

using Change = PlotModel::Change;

struct Fixture
{
    RecordingSink sink;
    PlotModel model{sink};
    Canvas canvas;
    Fixture() { canvas.SetSize(300, 200); }
};

QList<Change> ChangesOf(const std::function<void(Fixture&)>& prepare, const std::function<void(Fixture&)>& act)
{
    Fixture f;
    prepare(f);
    QSignalSpy spy(&f.model, &PlotModel::changed);
    act(f);
    QList<Change> seen;
    for (const QList<QVariant>& args : spy)
        seen.append(args.at(0).value<Change>());
    return seen;
}

void TwoSeries(Fixture& f)
{
    AddSeriesFromString(f.model, QStringLiteral("1 2 3"), true);
    AddSeriesFromString(f.model, QStringLiteral("-4 5 6"), true);
}

} // namespace

TEST(ModelNotification, EveryChangeAnnouncesItself)
{
    const auto none = [](Fixture&) {};
    const struct
    {
        const char* name;
        std::function<void(Fixture&)> prepare;
        std::function<void(Fixture&)> act;
        Change expected;
    } cases[] = {
        {"option", none, [](Fixture& f) { f.model.SetOption(&PlotOptions::showPoints, false); }, Change::Options},
        {"label", none, [](Fixture& f) { f.model.SetOption(&PlotOptions::xLabel, QStringLiteral("Day")); },
         Change::Options},
        {"series colour", none, [](Fixture& f) { f.model.SetSeriesColor(3, 0x00123456); }, Change::Options},
        {"all options", none,
         [](Fixture& f) {
             PlotOptions o;
             o.lineWidth = 5;
             f.model.SetOptions(o);
         },
         Change::Options},
        {"title", none, [](Fixture& f) { f.model.SetTitle(QStringLiteral("Sales")); }, Change::Title},
        {"graph type", none, [](Fixture& f) { f.model.SetGraphType(kBarGraph); }, Change::GraphType},
        {"series text", none, [](Fixture& f) { AddSeriesFromString(f.model, QStringLiteral("1 2"), true); },
         Change::Series},
        {"point", none, [](Fixture& f) { f.model.AddPoint(-1, nullvalue, 4); }, Change::Series},
        {"box click", TwoSeries, [](Fixture& f) { f.model.SetSeriesBoxChecked(2, false); }, Change::SeriesBoxes},
        {"clear", TwoSeries, [](Fixture& f) { f.model.ClearData(); }, Change::Series},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ChangesOf(c.prepare, c.act).contains(c.expected)) << c.name;
}

TEST(ModelNotification, SettingTheSameValueStaysQuiet)
{
    const auto none = [](Fixture&) {};
    EXPECT_TRUE(ChangesOf(none, [](Fixture& f) { f.model.SetOption(&PlotOptions::showPoints, true); }).isEmpty());
    EXPECT_TRUE(ChangesOf(none, [](Fixture& f) { f.model.SetGraphType(kLineGraph); }).isEmpty());
    EXPECT_TRUE(ChangesOf(none, [](Fixture& f) { f.model.SetTitle(QString()); }).isEmpty());
    EXPECT_TRUE(ChangesOf(none, [](Fixture& f) { f.model.SetSeriesColor(1, 0x000000FF); }).isEmpty());
    EXPECT_TRUE(ChangesOf(none, [](Fixture& f) { f.model.SetOptions(PlotOptions{}); }).isEmpty());
}

// Drawing only reads the model: what it finds comes back in its result.
TEST(ModelNotification, DrawingChangesNothing)
{
    const auto stacked = [](Fixture& f) {
        TwoSeries(f);
        f.model.SetGraphType(kStackedGraph);
    };
    EXPECT_TRUE(ChangesOf([](Fixture&) {}, [](Fixture& f) { DrawGraph(f.model, f.canvas); }).isEmpty());
    EXPECT_TRUE(ChangesOf(stacked, [](Fixture& f) { DrawGraph(f.model, f.canvas); }).isEmpty());

    Fixture f;
    stacked(f);
    const DrawingResult drawing = DrawGraph(f.model, f.canvas);
    EXPECT_EQ(drawing.graphType, kLineGraph); // stacks cannot show series 2's negative value
    EXPECT_EQ(f.model.GraphType(), kStackedGraph);
    ASSERT_TRUE(drawing.panel);
    EXPECT_FALSE(drawing.panel->pieEnabled);
}

// The status figures are kept between drawings; every change of the series or boxes renews them.
TEST(ModelNotification, StatusFiguresFollowEveryChangeOfTheDisplayedSeries)
{
    Fixture f;
    TwoSeries(f);
    EXPECT_EQ(f.model.NumberOfNonNullPoints(), 6);
    f.model.SetSeriesBoxChecked(2, false);
    EXPECT_EQ(f.model.NumberOfNonNullPoints(), 3);
    EXPECT_EQ(f.model.MaxValue(), 3);
    f.model.AddPoint(1, nullvalue, 9);
    EXPECT_EQ(f.model.MaxValue(), 9);
    f.model.ClearData();
    EXPECT_EQ(f.model.NumberOfNonNullPoints(), 0);
}
