#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace plotwell;

namespace {

struct ParserFixture : ::testing::Test
{
    RecordingSink sink;
    PlotModel model{sink};

    std::vector<std::pair<double, double>> points(int n)
    {
        std::vector<std::pair<double, double>> out;
        for (const DataPoint& p : model.AllSeries()[static_cast<std::size_t>(n - 1)])
            out.emplace_back(p.x, IsNullPoint(p) ? nullvalue : p.y);
        return out;
    }
};

using Points = std::vector<std::pair<double, double>>;
constexpr double N = nullvalue;

} // namespace

TEST_F(ParserFixture, AcceptedTexts)
{
    const struct {
        const char* text;
        Points points;
        bool xydata;
    } cases[] = {
        {"3 5 7", {{1, 3}, {2, 5}, {3, 7}}, false},
        {"3, 5, 7", {{1, 3}, {2, 5}, {3, 7}}, false},
        {"3,5,7", {{1, 3}, {2, 5}, {3, 7}}, false},
        {"  3 ,5 , 7", {{1, 3}, {2, 5}, {3, 7}}, false},
        {"3,,7", {{1, 3}, {2, N}, {3, 7}}, false},
        {",3", {{1, N}, {2, 3}}, false},
        {"(1, 2), (3, 4)", {{1, 2}, {3, 4}}, true},
        {"(1 2) (3 4)", {{1, 2}, {3, 4}}, true},
        {"(1;2)(3;4)", {{1, 2}, {3, 4}}, true},
        {"(3, 4), (1, 2)", {{1, 2}, {3, 4}}, true},
        {"(2, 1), (1, 5), (2, 2), (1, 6)", {{1, 5}, {1, 6}, {2, 1}, {2, 2}}, true}, // stable
        {"5, (1,2), (3,4)", {{1, 5}, {1, 2}, {3, N}, {3, 4}}, false},
        {"(12345678, 5)", {{12345678, 5}}, true},
        {",,,", {}, true},
    };
    for (const auto& c : cases) {
        model.ClearData();
        const bool ok = AddSeriesFromString(model, QString::fromLatin1(c.text), true);
        EXPECT_EQ(ok, true) << c.text;
        ASSERT_EQ(model.NumberOfSeries(), 1) << c.text;
        EXPECT_EQ(points(1), c.points) << c.text;
        EXPECT_EQ(model.AllSeriesInfo(1).xydata, c.xydata) << c.text;
        EXPECT_FALSE(model.AllSeriesInfo(1).isdates) << c.text;
    }
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(ParserFixture, DateSeries)
{
    EXPECT_TRUE(AddSeriesFromString(model, QStringLiteral("(2020-01-31, 5) (2020-02-29, 7)"), true));
    EXPECT_EQ(points(1), (Points{{43861, 5}, {43890, 7}}));
    EXPECT_TRUE(model.AllSeriesInfo(1).isdates);
    EXPECT_TRUE(AddSeriesFromString(model, QStringLiteral("(20200131, 5)"), true));
    EXPECT_TRUE(model.AllSeriesInfo(2).isdates);
    EXPECT_EQ(model.GetSeriesData(1), QStringLiteral("(1/31/2020, 5), (2/29/2020, 7)"));
}

TEST_F(ParserFixture, FaultsGiveExactMessagesAndUndoTheSeries)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"(1,2),,(3,4)", "\",\" is invalid input at this location in X,Y point data (position 7)"},
        {"(1,2", "Closing bracket not found for point at character position 1."},
        {"( ,2)", "Missing X data for point at character position 1."},
        {"()", "No X and Y point data between brackets at character position 1."},
        {"( )", "No X and Y point data between brackets at character position 1."},
        {"(12)", "Invalid X and Y point data at character position 1: \"(12)\""},
        {"(1 , 2)", "Invalid Y data for point at character position 4: \", 2\""},
        {"(1, 2 )", "Invalid Y data for point at character position 4: \" 2 \""},
        {"(2020-01-31, 5) (7, 8)",
         "Invalid X data for point at character position 18: \"(7, 8)\"\r\rDate expected."},
        {"(7, 8) (2020-01-31, 5)", "Invalid X data for point at character position 9: \"2020-01-31\""},
        {"1\t2\t3", "Error in input number: \"1\t2\t3\""},
        {"1 2 3;a", "Error in input number: \"\""},
        {";abc", "Error in input number: \"\""},
        {"  ;abc", "Error in input number: \"\""},
        {"1 2 x3", "Error in input number: \"x3\""},
        {"1 1e400", "Error in input number: \"1e400\""},
        {"(a, 1)", "Invalid X data for point at character position 2: \"a\""},
    };
    for (const auto& c : cases) {
        model.ClearData();
        sink.Clear();
        EXPECT_FALSE(AddSeriesFromString(model, QString::fromLatin1(c.text), true)) << c.text;
        EXPECT_EQ(model.InputError(), QString::fromLatin1(c.message)) << c.text;
        EXPECT_EQ(sink.Messages(), QStringList{QString::fromLatin1(c.message)}) << c.text;
        EXPECT_EQ(model.NumberOfSeries(), 0) << c.text;
        EXPECT_FALSE(model.SeriesBox(1).visible) << c.text;
    }
}

TEST_F(ParserFixture, QuotedWordsKeepTheirCharacters)
{
    EXPECT_FALSE(AddSeriesFromString(model, QStringLiteral("1 \u00e9\u20ac"), false));
    EXPECT_EQ(model.InputError(), QStringLiteral("Error in input number: \"\u00e9\u20ac\""));
}

TEST_F(ParserFixture, SeriesNames)
{
    EXPECT_TRUE(AddSeriesFromString(model, QStringLiteral("10 20 30 ;Monthly totals"), false));
    EXPECT_EQ(model.GetSeriesName(1), QStringLiteral("Monthly totals"));
    EXPECT_EQ(model.SeriesBox(1).hint, QStringLiteral("Series 1 - Monthly totals"));
    EXPECT_TRUE(AddSeriesFromString(model, QStringLiteral("1 2 3;ab"), false));
    EXPECT_EQ(model.GetSeriesName(2), QStringLiteral("ab"));
    EXPECT_TRUE(AddSeriesFromString(model, QStringLiteral("4 5"), false));
    EXPECT_EQ(model.SeriesBox(3).hint, QStringLiteral("Series 3"));
    EXPECT_TRUE(model.DisplaySeriesLabelVisible());
}

TEST_F(ParserFixture, EmptyTextLeavesAnEmptySeriesWithoutMessage)
{
    EXPECT_FALSE(AddSeriesFromString(model, QString(), true));
    EXPECT_FALSE(AddSeriesFromString(model, QStringLiteral("   "), true));
    EXPECT_EQ(model.NumberOfSeries(), 2);
    EXPECT_TRUE(sink.Messages().isEmpty());
    EXPECT_TRUE(model.InputError().isEmpty());
}

TEST_F(ParserFixture, NinthSeriesIsRefused)
{
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(AddSeriesFromString(model, QStringLiteral("1 2"), true));
    EXPECT_FALSE(AddSeriesFromString(model, QStringLiteral("1 2"), true));
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Too many sets (columns) of data.  Max = 8.")});
    EXPECT_TRUE(model.InputError().isEmpty());
    EXPECT_EQ(model.NumberOfSeries(), 8);
}

TEST_F(ParserFixture, MixedKindsEmptyTheStore)
{
    ASSERT_TRUE(AddSeriesFromString(model, QStringLiteral("1 2 3"), false));
    model.SetGraphType(kBarGraph);
    EXPECT_FALSE(AddSeriesFromString(model, QStringLiteral(",,,"), false));
    EXPECT_EQ(model.NumberOfSeries(), 0);
    EXPECT_EQ(model.GraphType(), kLineGraph);
    EXPECT_TRUE(model.InputError().isEmpty());
    EXPECT_EQ(sink.Messages(),
              QStringList{QStringLiteral("Invalid input: Series 2\r\rAll series of points added must contain the same "
                                         "kind of points - either (X,Y) data or just Y values.\r\rThis is because "
                                         "they cannot share the same X-axis.")});
}

TEST(CountByte, CountsEveryPlaceAtAnyLengthAndByte)
{
    // Words of eight bytes and the bytes after them; high bytes next to the one counted.
    QByteArray text;
    for (int k = 0; k < 300; ++k)
        text += static_cast<char>((k * 37) % 256);
    for (const char c : {' ', ',', '(', '\0', '\x80', '\xFF', '\x7F'})
        for (const qsizetype size : {qsizetype(0), qsizetype(7), qsizetype(8), qsizetype(9), qsizetype(64), text.size()})
            EXPECT_EQ(CountByte(text.constData(), static_cast<std::size_t>(size), c),
                      static_cast<std::size_t>(std::count(text.constData(), text.constData() + size, c)))
                << int(static_cast<unsigned char>(c)) << " in " << size;
}
