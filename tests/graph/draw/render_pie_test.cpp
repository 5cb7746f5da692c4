// The pie graph, by pixels: slices, labels, the heading and the negative-data message.
#include "graph/draw/pie_chart.h"
#include "render_test_fixture.h"
#include "support/test_support.h"

#include <QImage>

using namespace plotwell;

namespace {

constexpr RgbColor kFirst = 0x00BD814F; // (79, 129, 189)
constexpr RgbColor kOlive = 0x00008080;
constexpr RgbColor kMaroon = 0x00000080;

// On a 600 x 400 surface the pie's centre is (300, 225) and its radius 105; the heading
// stands above row 95, which no label reaches.
constexpr int kHeadingRows = 95;

struct RenderPie : RenderFixture
{
    RenderPie() { model.SetGraphType(kPieGraph); }

    QImage Heading() const { return canvas.Image().copy(0, 0, 600, kHeadingRows); }

    // The heading as the title (when given) and the caption alone draw it.
    static QImage ExpectedHeading(const QString& caption, const QString& title = QString())
    {
        Canvas c;
        c.SetSize(600, 400);
        c.Brush().SetColor(kIvory);
        c.FillRect(c.ClipRect());
        c.Font().SetSize(16);
        if (!title.isEmpty()) {
            c.TextOut(300 - c.TextExtent(title).width() / 2, 15, title);
            c.Font().SetSize(10);
        }
        c.TextOut(300 - c.TextExtent(caption).width() / 2, 55, caption);
        return c.Image().copy(0, 0, 600, kHeadingRows);
    }
};

} // namespace

TEST_F(RenderPie, SlicesRunCounterClockwiseFromThreeOClock)
{
    Load({"1 1 2"});
    Draw();
    // 0..90 degrees, 90..180 and 180..360, sampled 60 pixels from the centre.
    EXPECT_EQ(At(342, 183), kFirst);
    EXPECT_EQ(At(258, 183), kOlive);
    EXPECT_EQ(At(244, 246), kMaroon);
    EXPECT_EQ(At(300, 285), kMaroon);
    EXPECT_EQ(At(356, 246), kMaroon);
    // Each label in its slice's colour outside the circle; the left one further out.
    EXPECT_GT(Count(377, 128, 20, 20, kFirst), 0);
    EXPECT_GT(Count(201, 126, 20, 20, kOlive), 0);
    EXPECT_GT(Count(290, 338, 20, 20, kMaroon), 0);
    EXPECT_TRUE(Heading() == ExpectedHeading(QStringLiteral("Series 1 (Total: 4.0)")));
    // No axes, ticks or labels around it, and the pointer readout stays off.
    EXPECT_EQ(Count(0, kHeadingRows, 600, 400 - kHeadingRows, kBlack), 0);
    EXPECT_EQ(Geometry().maxlimitY, 0);

    model.SetTitle(QStringLiteral("Shares"));
    Draw();
    EXPECT_TRUE(Heading() == ExpectedHeading(QStringLiteral("Series 1 (Total: 4.0)"), QStringLiteral("Shares")));
}

TEST_F(RenderPie, ZerosHaveNoSliceAndTheLastPointClosesTheCircle)
{
    Load({"3 0 5"});
    Draw();
    EXPECT_EQ(Count(0, 0, 600, 400, kOlive), 0); // neither slice nor label for position 1
    EXPECT_EQ(At(330, 173), kFirst);             // 3 of 8: 0..135 degrees
    EXPECT_EQ(At(244, 246), kMaroon);
    EXPECT_EQ(At(330, 277), kMaroon);
    EXPECT_EQ(At(355, 226), kMaroon); // just below 3 o'clock: the 5 runs to 360
}

TEST_F(RenderPie, ASliceOfNoWholeDegreeDoesNotFillTheCircle)
{
    Load({"1000 0.1"});
    Draw();
    // 0.1 runs from 359.96 to 360 degrees: both round to 360, an empty wedge.
    EXPECT_EQ(Count(195, 120, 211, 211, kOlive), 0);
    EXPECT_EQ(At(300, 300), kFirst);
    EXPECT_EQ(At(250, 225), kFirst);
    EXPECT_GT(Count(405, 215, 30, 20, kOlive), 0); // its label still shows
}

TEST_F(RenderPie, MoreThanFiftyPointsDrawOnlyTheBackground)
{
    for (const int points : {50, 51}) {
        QByteArray values;
        for (int i = 0; i < points; ++i)
            values += "2 ";
        model.ClearData();
        Load({values.constData()});
        model.SetGraphType(kPieGraph);
        Draw();
        EXPECT_EQ(Count(0, 0, 600, 400, kIvory) == 600 * 400, points > 50) << points;
    }
}

TEST_F(RenderPie, ShowsTheFirstDisplayedSeries)
{
    Load({"1 2", "3 4"});
    Draw();
    EXPECT_TRUE(Heading() == ExpectedHeading(QStringLiteral("Series 1 (Total: 3.0)")));
    model.SetSeriesBoxChecked(1, false);
    model.SetGraphType(kPieGraph);
    Draw();
    EXPECT_TRUE(Heading() == ExpectedHeading(QStringLiteral("Series 2 (Total: 7.0)")));
}

// The drawing finds negative data and says so in its result; telling the user is the caller's.
TEST_F(RenderPie, NegativeDataIsFoundWithoutAMessage)
{
    Load({"1 2 3", "4 -5 6", "-1 7 8"});
    Draw();
    EXPECT_TRUE(Result().pieNegative);
    EXPECT_GT(Count(195, 120, 211, 211, kFirst), 0); // series 1 has no negative value: its pie

    // A negative first series gets no pie.
    model.SetSeriesBoxChecked(1, false);
    model.SetGraphType(kPieGraph);
    Draw();
    EXPECT_TRUE(Result().pieNegative);
    EXPECT_EQ(Count(0, 0, 600, 400, kIvory), 600 * 400);

    model.SetSeriesBoxChecked(3, false);
    Draw();
    EXPECT_FALSE(Result().pieNegative);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(RenderPie, SlicesOfHugeValuesKeepTheirShares)
{
    // Their total overflows a double; each still takes a third of the circle.
    Load({"1e308 1e308 1e308"});
    Draw();
    EXPECT_EQ(At(342, 183), kFirst);  // 0..120 degrees
    EXPECT_EQ(At(244, 246), kOlive);  // 120..240
    EXPECT_EQ(At(356, 246), kMaroon); // 240..360
    EXPECT_TRUE(PieTotalText(3 * static_cast<long double>(1e308)).startsWith(QStringLiteral("3000000000000000")));
    EXPECT_FALSE(PieTotalText(3 * static_cast<long double>(1e308)).contains(QStringLiteral("inf")));
}

TEST(PieTexts, ColoursAndTotal)
{
    const RgbColor colours[] = {kFirst, kOlive, kMaroon, 0x00008000, 0x000000FF, 0x00FF0000, 0x0059BB9B, 0x00C6AC4B, kFirst};
    for (int j = 0; j < 9; ++j)
        EXPECT_EQ(PieColor(j), colours[j]) << j;
    EXPECT_EQ(PieColor(14), 0x00C6AC4Bu); // divisible by 7 before 2
    EXPECT_EQ(PieColor(35), 0x00C6AC4Bu); // by 7 before 5

    const ScopedLocale german(QStringLiteral("de_DE")); // the point stays a point
    const struct {
        double total;
        const char* text;
    } totals[] = {{4, "4.0"}, {12.5, "12.5"}, {1.0 / 3, "0.3333333333"}, {0, "0.0"}, {100, "100.0"}, {0.1 + 0.2, "0.3"}};
    for (const auto& t : totals)
        EXPECT_EQ(PieTotalText(t.total), QString::fromLatin1(t.text)) << t.total;
}
