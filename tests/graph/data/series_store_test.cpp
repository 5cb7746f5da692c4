#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "support/test_support.h"
#include "graph/data/status_texts.h"
#include "graph/data/value_range.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

using namespace plotwell;

namespace {

struct StoreFixture : ::testing::Test
{
    RecordingSink sink;
    PlotModel model{sink};
    void add(const char* text) { ASSERT_TRUE(AddSeriesFromString(model, QString::fromLatin1(text), true)) << text; }
};

// Series loaded one per text, and the figures the model, the status line and the summary give.
struct FiguresCase
{
    const char* name;
    std::vector<QString> series;
    qint64 points; // null points included
    qint64 values;
    double min, max, average, deviation;
    const char* status;
    std::vector<const char*> summary;
};

QString ThousandAndMore()
{
    QString line;
    for (int i = 0; i < 1234; ++i)
        line += QStringLiteral("%1 ").arg(i % 10 + 1);
    return line;
}

const FiguresCase kFiguresCases[] = {
    {"empty store", {}, 0, 0, novalue, novalue, novalue, novalue, "0 points", {}},
    {"sample statistics",
     {QStringLiteral("2 4 4 4 5 5 7 9")},
     8,
     8,
     2,
     9,
     5,
     2.1380898952484131,
     " 8 pts    Min: 2    Max: 9    Avg: 5    Std Dev: 2.138",
     {"Series 1:     8 pts    Min: 2    Max: 9    Avg: 5    Std Dev: 2.138"}},
    // One value has no sample deviation; the summary says 0 where the status line shows novalue.
    {"a lone value after a null point",
     {QStringLiteral(",7")},
     2,
     1,
     7,
     7,
     7,
     novalue,
     " 1 pt    Min: 7    Max: 7    Avg: 7    Std Dev: -999999999",
     {"Series 1:     1 pt    Min: 7    Max: 7    Avg: 7    Std Dev: 0"}},
    {"separators only",
     {QStringLiteral(",,,")},
     0,
     0,
     novalue,
     novalue,
     novalue,
     novalue,
     "0 points",
     {"Series 1:     0 pts    Min: -999999999    Max: -999999999    Avg: -999999999    Std Dev: 0"}},
    {"counts group thousands",
     {ThousandAndMore()},
     1234,
     1234,
     1,
     10,
     6775.0 / 1234,
     2.8745582103729248,
     " 1,234 pts    Min: 1    Max: 10    Avg: 5.4903    Std Dev: 2.875",
     {"Series 1:     1,234 pts    Min: 1    Max: 10    Avg: 5.4903    Std Dev: 2.875"}},
    // Exactly 0.03125, 0.33333333 and a deviation of exactly 0.0625 round half to even.
    {"average and deviation round halves to even",
     {QStringLiteral("0.03125 0.03125"), QStringLiteral("0.33333333 0.33333333 0.33333333"),
      QStringLiteral("-0.0625 -0.0625 -0.0625 -0.0625 0 0.0625 0.0625 0.0625 0.0625")},
     14,
     14,
     -0.0625,
     0.33333333,
     0.075892856428571437,
     0.14829812943935394,
     " 14 pts    Min: -0.0625    Max: 0.33333333    Avg: 0.0759    Std Dev: 0.148",
     {"Series 1:     2 pts    Min: 0.03125    Max: 0.03125    Avg: 0.0312    Std Dev: 0",
      "Series 2:     3 pts    Min: 0.33333333    Max: 0.33333333    Avg: 0.3333    Std Dev: 0",
      "Series 3:     9 pts    Min: -0.0625    Max: 0.0625    Avg: 0    Std Dev: 0.062"}},
};

} // namespace

TEST(StoreFigures, ModelStatusLineAndSummaryAgree)
{
    for (const FiguresCase& c : kFiguresCases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        PlotModel model(sink);
        // Once on a fresh store, once on one cleared after another load: nothing of the first
        // load may stay in the figures the model keeps.
        for (const bool reused : {false, true}) {
            SCOPED_TRACE(reused ? "after ClearData" : "fresh");
            if (reused) {
                ASSERT_TRUE(AddSeriesFromString(model, QStringLiteral("100 -100 ;earlier"), true));
                ASSERT_EQ(StatusLineText(model).left(6), QStringLiteral(" 2 pts"));
                model.ClearData();
            }
            for (const QString& series : c.series)
                ASSERT_TRUE(AddSeriesFromString(model, series, true)) << series.left(40).toStdString();
            EXPECT_EQ(model.NumberOfPoints(), c.points);
            EXPECT_EQ(model.NumberOfNonNullPoints(), c.values);
            EXPECT_DOUBLE_EQ(model.MinValue(), c.min);
            EXPECT_DOUBLE_EQ(model.MaxValue(), c.max);
            EXPECT_DOUBLE_EQ(model.Average(), c.average);
            EXPECT_DOUBLE_EQ(model.StandardDeviation(), c.deviation);
            EXPECT_EQ(StatusLineText(model), QString::fromLatin1(c.status));
            QStringList summary;
            for (const char* line : c.summary)
                summary.append(QString::fromLatin1(line));
            EXPECT_EQ(SummaryLines(model), summary);
            model.ClearData();
        }
    }
}

TEST_F(StoreFixture, SeriesDataShowsGapsAndPointsInXOrder)
{
    const struct
    {
        const char* data;
        const char* text;
    } cases[] = {
        {",7", " ,, (2, 7)"},
        {"5,,7", "(1, 5),  ,, (3, 7)"},
        {"(3, 0.5) (1, 2) (2, 1E20)", "(1, 2), (2, 1E20), (3, 0.5)"},
    };
    for (const auto& c : cases) {
        model.ClearData();
        add(c.data);
        EXPECT_EQ(model.GetSeriesData(1), QString::fromLatin1(c.text)) << c.data;
        EXPECT_EQ(model.GetSeriesData(0), QString()) << c.data;
        EXPECT_EQ(model.GetSeriesData(2), QString()) << c.data;
    }
}

TEST_F(StoreFixture, DisplayedSeriesOnly)
{
    add("1 2 3");
    add("100 200");
    add("10 20");
    model.SetSeriesBoxChecked(2, false);
    EXPECT_EQ(model.NumberOfNonNullPoints(), 5);
    EXPECT_EQ(model.MaxValue(), 20);
    const QStringList lines = SummaryLines(model);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Series 1:")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Series 3:")));
    EXPECT_EQ(model.NumberOfSeries(), 3);

    model.ClearData();
    add("1 2 3");
    model.SetSeriesBoxChecked(1, false); // a lone series is always displayed
    EXPECT_EQ(model.NumberOfNonNullPoints(), 3);
}

TEST_F(StoreFixture, ClickingABoxWhilePieSwitchesToLine)
{
    add("1 2");
    add("3 4");
    model.SetGraphType(kPieGraph);
    model.SetSeriesBoxChecked(2, false);
    EXPECT_EQ(model.GraphType(), kLineGraph);
}

TEST_F(StoreFixture, NamesAreCutAt60CharactersButHintsKeepThemWhole)
{
    add("1 2");
    const QString name(70, QLatin1Char('n'));
    model.SetSeriesName(1, name);
    EXPECT_EQ(model.GetSeriesName(1), name.left(60));
    EXPECT_EQ(model.SeriesBox(1).hint, QStringLiteral("Series 1 - ") + name);
    model.SetSeriesName(5, name); // out of range: nothing
    EXPECT_EQ(model.GetSeriesName(5), QString());
}

TEST_F(StoreFixture, ClearDataResetsBoxes)
{
    add("1 2 ;first");
    add("3 4");
    model.SetSeriesBoxChecked(2, false);
    model.ClearData();
    for (int k = 1; k <= 2; ++k) {
        EXPECT_FALSE(model.SeriesBox(k).visible);
        EXPECT_TRUE(model.SeriesBox(k).checked);
        EXPECT_EQ(model.SeriesBox(k).hint, QStringLiteral("Series %1").arg(k));
    }
    EXPECT_EQ(model.GetSeriesName(1), QString());
    EXPECT_TRUE(model.DisplaySeriesLabelVisible()); // stays visible once shown
}

TEST_F(StoreFixture, AddPointIndexes)
{
    EXPECT_TRUE(model.AddPoint(-1, nullvalue, 4)); // creates series 1
    EXPECT_FALSE(model.AddPoint(2, 1, 1));          // no series 2
    EXPECT_FALSE(model.AddPoint(0, 1, 1));          // series count from 1
    EXPECT_TRUE(model.AddPoint(1, nullvalue, 5));
    EXPECT_EQ(model.GetSeriesData(1), QStringLiteral("(1, 4), (2, 5)"));
}

TEST(PlotOptionsColours, AWrongSeriesNumberIsAnErrorNotAnotherSeriesColour)
{
    const PlotOptions options;
    EXPECT_EQ(options.SeriesColorOf(1), 0x000000FFu);
    EXPECT_EQ(options.SeriesColorOf(maxseries), 0x00993366u);
    for (const int n : {0, -1, maxseries + 1, 2 * maxseries + 1})
        EXPECT_THROW(options.SeriesColorOf(n), std::out_of_range) << n;
}

// The extremes of a series are the same whichever way its points are stored: Y alone, where
// X is the position, or (X, Y) pairs; null points at either end or throughout take no part.
TEST(SeriesRangeByLayout, ExtremesOfThePlottedPoints)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* name;
        PointList points;
        SeriesRange expected;
    } cases[] = {
        {"bare values", {{1, 4}, {2, -2}, {3, 7}}, {1, 3, -2, 7}},
        {"bare values with nulls at both ends", {{1, nullvalue}, {2, 5}, {3, 1}, {4, nullvalue}}, {2, 3, 1, 5}},
        {"only nulls", {{1, nullvalue}, {2, nullvalue}}, {inf, -inf, inf, -inf}},
        {"empty", {}, {inf, -inf, inf, -inf}},
        {"pairs", {{5, 1}, {-3, 2}, {9, nullvalue}, {4, -6}}, {-3, 5, -6, 2}},
    };
    for (const auto& c : cases) {
        const SeriesRange r = RangeOfSeries(c.points);
        EXPECT_EQ(r.minX, c.expected.minX) << c.name;
        EXPECT_EQ(r.maxX, c.expected.maxX) << c.name;
        EXPECT_EQ(r.minY, c.expected.minY) << c.name;
        EXPECT_EQ(r.maxY, c.expected.maxY) << c.name;
    }
    EXPECT_TRUE(cases[0].points.IsCompact());
    EXPECT_FALSE(cases[4].points.IsCompact());
}
