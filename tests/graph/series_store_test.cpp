#include "core/recording_sink.h"
#include "graph/plot_model.h"
#include "support/test_support.h"
#include "graph/status_texts.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace plotwell;

namespace {

struct StoreFixture : ::testing::Test
{
    TRecordingSink sink;
    PlotModel model{sink};
    void add(const char* text) { ASSERT_TRUE(model.AddSeriesFromString(QString::fromLatin1(text), true)) << text; }
};

} // namespace

TEST_F(StoreFixture, EmptyStore)
{
    EXPECT_EQ(model.NumberOfPoints(), 0);
    EXPECT_EQ(model.NumberOfNonNullPoints(), 0);
    EXPECT_EQ(model.MinValue(), novalue);
    EXPECT_EQ(model.MaxValue(), novalue);
    EXPECT_EQ(model.Average(), novalue);
    EXPECT_EQ(model.StandardDeviation(), novalue);
    EXPECT_EQ(StatusLineText(model), QStringLiteral("0 points"));
    EXPECT_TRUE(SummaryLines(model).isEmpty());
}

TEST_F(StoreFixture, SampleStatistics)
{
    add("2 4 4 4 5 5 7 9");
    EXPECT_EQ(model.Average(), 5);
    EXPECT_NEAR(model.StandardDeviation(), 2.13809, 1e-5);
    EXPECT_EQ(StatusLineText(model), QStringLiteral(" 8 pts    Min: 2    Max: 9    Avg: 5    Std Dev: 2.138"));
}

TEST_F(StoreFixture, LoneValueAndNullPoints)
{
    add(",7");
    EXPECT_EQ(model.NumberOfPoints(), 2);
    EXPECT_EQ(model.NumberOfNonNullPoints(), 1);
    EXPECT_EQ(model.StandardDeviation(), novalue);
    EXPECT_EQ(StatusLineText(model), QStringLiteral(" 1 pt    Min: 7    Max: 7    Avg: 7    Std Dev: -999999999"));
    EXPECT_EQ(SummaryLines(model),
              QStringList{QStringLiteral("Series 1:     1 pt    Min: 7    Max: 7    Avg: 7    Std Dev: 0")});
    EXPECT_EQ(model.GetSeriesData(1), QStringLiteral(" ,, (2, 7)"));
}

TEST_F(StoreFixture, SeriesDataWithGapAndSortedPoints)
{
    add("5,,7");
    EXPECT_EQ(model.GetSeriesData(1), QStringLiteral("(1, 5),  ,, (3, 7)"));
    model.ClearData();
    add("(3, 0.5) (1, 2) (2, 1E20)");
    EXPECT_EQ(model.GetSeriesData(1), QStringLiteral("(1, 2), (2, 1E20), (3, 0.5)"));
    EXPECT_EQ(model.GetSeriesData(0), QString());
    EXPECT_EQ(model.GetSeriesData(2), QString());
}

TEST_F(StoreFixture, SummaryOfSeriesWithoutValues)
{
    add("1");
    model.ClearData();
    EXPECT_TRUE(model.AddSeriesFromString(QStringLiteral(",,,"), true));
    EXPECT_EQ(SummaryLines(model), QStringList{QStringLiteral("Series 1:     0 pts    Min: -999999999    Max: "
                                                              "-999999999    Avg: -999999999    Std Dev: 0")});
}

TEST_F(StoreFixture, AverageAndDeviationRoundHalvesToEven)
{
    add("0.03125 0.03125");                                                  // average exactly 0.03125
    add("0.33333333 0.33333333 0.33333333");                                 // average 0.33333333
    add("-0.0625 -0.0625 -0.0625 -0.0625 0 0.0625 0.0625 0.0625 0.0625"); // deviation exactly 0.0625
    const QStringList lines = SummaryLines(model);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Avg: 0.0312    Std Dev: 0"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("Avg: 0.3333    Std Dev: 0"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("Avg: 0    Std Dev: 0.062"))) << lines[2].toStdString();
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
    model.SetGraphType(gtpie);
    model.SetSeriesBoxChecked(2, false);
    EXPECT_EQ(model.GraphType(), gtline);
}

TEST_F(StoreFixture, CountTextGroupsThousands)
{
    QString line;
    for (int i = 0; i < 1234; ++i)
        line += QStringLiteral("%1 ").arg(i % 10 + 1);
    ASSERT_TRUE(model.AddSeriesFromString(line, true));
    EXPECT_TRUE(StatusLineText(model).startsWith(QStringLiteral(" 1,234 pts    Min: 1    Max: 10    Avg: 5.4903")));
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
