// Tick labels never touch: where those of the tick rule would come too close, every second,
// fifth, ... is drawn; where they keep apart, every one is, as before.
#include "graph/data/compact_date.h"
#include "graph/data/plot_mapping.h"
#include "graph/draw/tick_labels.h"
#include "graph/draw/titles.h"
#include "graph/load/data_file_loader.h"
#include "render_test_fixture.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace plotwell;

namespace {

using RenderTickSpacing = RenderFixture;

struct LabelCell
{
    QRect rect;
    QString text;
};

// Where the drawing puts each label the tick rule gives, by the layout the graph states.
std::vector<LabelCell> XLabelCells(const PlotGeometry& s, int decimals, bool floatingFirst)
{
    Canvas measure;
    measure.Font().SetName(QString::fromLatin1(kGraphFace));
    measure.Font().SetSize(8);
    const AxisScale x(s.minX, s.minX + s.maxextentX);
    const PlotMapping map(PlotArea{s.cornerx, s.bottomy, s.xwid, s.ywid}, x, AxisScale(0, 1));
    std::vector<LabelCell> cells;
    for (const TickLabel& label : TickLabels(decimals, x.Low(), x.High())) {
        const QSize size = measure.TextExtent(label.text);
        const int w = cells.empty() && floatingFirst ? 0 : size.width();
        cells.push_back({QRect(map.TickColumn(label.value) - w / 2, s.cornery + 4, size.width(), size.height()), label.text});
    }
    return cells;
}

std::vector<LabelCell> YLabelCells(const PlotGeometry& s, int decimals)
{
    Canvas measure;
    measure.Font().SetName(QString::fromLatin1(kGraphFace));
    measure.Font().SetSize(8);
    const AxisScale y(s.minY, s.minY + s.maxextentY);
    const PlotMapping map(PlotArea{s.cornerx, s.bottomy, s.xwid, s.ywid}, AxisScale(0, 1), y);
    std::vector<LabelCell> cells;
    for (const TickLabel& label : TickLabels(decimals, y.Low(), y.High())) {
        const int row = map.TickRow(label.value);
        if (row < s.bottomy - s.ywid || row > s.bottomy)
            continue;
        const QSize size = measure.TextExtent(label.text);
        cells.push_back({QRect(s.cornerx - size.width() - 10, row - 5, size.width(), size.height()), label.text});
    }
    return cells;
}

int GapBetween(const QRect& a, const QRect& b, bool across)
{
    return across ? std::max(a.left() - b.right(), b.left() - a.right()) - 1
                  : std::max(a.top() - b.bottom(), b.top() - a.bottom()) - 1;
}

// The black pixels of a label drawn alone at (0, 0) in the tick font, on the background.
std::vector<QPoint> GlyphPixels(const QString& text)
{
    Canvas alone;
    alone.Font().SetName(QString::fromLatin1(kGraphFace));
    alone.Font().SetSize(8);
    const QSize size = alone.TextExtent(text);
    alone.SetSize(size.width(), size.height());
    alone.Brush().SetColor(kIvory);
    alone.TextOut(0, 0, text);
    std::vector<QPoint> pixels;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (alone.Pixel(x, y) == kBlack)
                pixels.emplace_back(x, y);
    return pixels;
}

// Checks the labels in `area` of the canvas: a label is drawn when every pixel of its glyphs
// is there (also where a series crosses a floating axis: the labels go on top), every black pixel of the area lies in the cell of a drawn label, and drawn cells
// keep kTickLabelGap apart. Returns the drawn labels' texts.
QStringList CheckLabels(const Canvas& canvas, const std::vector<LabelCell>& cells, const QRect& area, bool across,
                        int skipColumn = -1)
{
    QStringList drawn;
    std::vector<QRect> drawnCells;
    for (const LabelCell& cell : cells) {
        const std::vector<QPoint> glyphs = GlyphPixels(cell.text);
        bool whole = !glyphs.empty();
        for (const QPoint& p : glyphs)
            whole = whole && canvas.Pixel(cell.rect.left() + p.x(), cell.rect.top() + p.y()) == kBlack;
        if (!whole)
            continue;
        drawn << cell.text;
        drawnCells.push_back(cell.rect);
    }
    int stray = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (x == skipColumn || canvas.Pixel(x, y) != kBlack)
                continue;
            bool inside = false;
            for (const QRect& r : drawnCells)
                inside = inside || r.contains(x, y);
            stray += !inside;
        }
    EXPECT_EQ(stray, 0) << "ink outside the drawn labels " << drawn.join(QLatin1Char(' ')).toStdString();
    for (std::size_t i = 1; i < drawnCells.size(); ++i)
        EXPECT_GE(GapBetween(drawnCells[i - 1], drawnCells[i], across), kTickLabelGap)
            << drawn[static_cast<qsizetype>(i - 1)].toStdString() << " and " << drawn[static_cast<qsizetype>(i)].toStdString();
    EXPECT_GE(drawn.size(), 2);
    return drawn;
}

QStringList Texts(const std::vector<LabelCell>& cells)
{
    QStringList list;
    for (const LabelCell& c : cells)
        list << c.text;
    return list;
}

} // namespace

TEST(SpacedTickLabels, EveryLabelWhenTheyKeepApartOtherwiseRoundMultiples)
{
    // Cells 10 wide every 12 pixels keep 2 apart; every 11, 1 apart: every second then, from
    // the first whole number of two steps.
    const auto spans = [](int count, int pitch) {
        std::vector<TickSpan> s;
        for (int i = 0; i < count; ++i)
            s.push_back({i * pitch, i * pitch + 10});
        return s;
    };
    const auto kept = [](const std::vector<bool>& keep) {
        QString s;
        for (const bool k : keep)
            s += k ? QLatin1Char('x') : QLatin1Char('.');
        return s;
    };
    const std::vector<double> odd = {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55};
    const std::vector<double> decimal = {0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5};
    EXPECT_EQ(kept(SpacedTickLabels(spans(11, 12), odd)), QStringLiteral("xxxxxxxxxxx"));
    EXPECT_EQ(kept(SpacedTickLabels(spans(11, 11), odd)), QStringLiteral(".x.x.x.x.x."));
    EXPECT_EQ(kept(SpacedTickLabels(spans(11, 11), decimal)), QStringLiteral(".x.x.x.x.x."));
    EXPECT_EQ(kept(SpacedTickLabels(spans(11, 5), odd)), QStringLiteral("....x....x.")); // every 5th: 25, 50
    EXPECT_EQ(kept(SpacedTickLabels(spans(11, 2), odd)), QStringLiteral(".........x.")); // every 10th
    EXPECT_EQ(kept(SpacedTickLabels(spans(11, 1), odd)), QStringLiteral(".........x.")); // none keeps apart: the round one
    EXPECT_EQ(kept(SpacedTickLabels(spans(9, 11), {})), QStringLiteral("x.x.x.x.x")); // dates: from the first
    EXPECT_EQ(kept(SpacedTickLabels(spans(9, 5), {})), QStringLiteral("x...x...x"));
    EXPECT_EQ(kept(SpacedTickLabels(spans(9, 1), {})), QStringLiteral("x........"));
    // Spans in either order along the axis (Y labels go upwards).
    std::vector<TickSpan> down = spans(11, 11);
    std::reverse(down.begin(), down.end());
    EXPECT_EQ(kept(SpacedTickLabels(down, odd)).size(), 11);
    EXPECT_EQ(kept(SpacedTickLabels(down, odd)).count(QLatin1Char('x')), 5);
}

TEST_F(RenderTickSpacing, BigDataAtTheWindowsSizeGivesLabelsApart)
{
    // The window's plotting surface is 469 x 399. The X range of N bare values is 1..N, the
    // same as that of two points at X 1 and N, so 50,000,000 values need not be built; that the
    // two give the same labels is checked for 1,000,000 below.
    model.SetOption(&PlotOptions::showPoints, false);
    const struct {
        const char* points;
        bool floating;
    } cases[] = {
        {"(1, 3) (1000000, 8)", false},
        {"(1, 3) (50000000, 8)", false},
        {"(1, -3) (1000000, 8)", true}, // data across 0: the X axis floats among them, its line crossing "200000"
        {"(1, -3) (50000000, 8)", true},
        {"(1, 3) (123456789, 8)", false},
        {"(-50000000, 3) (50000000, -8)", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        model.ClearData();
        Load({c.points});
        Draw(469, 399);
        const PlotGeometry& s = Geometry();
        EXPECT_EQ(s.cornery != s.bottomy, c.floating);
        const std::vector<LabelCell> cells = XLabelCells(s, model.Options().decimalPlaces, c.floating);
        const int h = cells.front().rect.height();
        const QStringList drawn =
            CheckLabels(canvas, cells, QRect(s.cornerx - 8, s.cornery + 4, 469 - (s.cornerx - 8), h), true, s.cornerx);
        EXPECT_LT(drawn.size(), static_cast<qsizetype>(cells.size())) << drawn.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(RenderTickSpacing, TwoPointsSpanningTheValuesGiveTheValuesLabels)
{
    model.AddSeries();
    for (int i = 1; i <= 1000000; ++i)
        model.AddPoint(1, i, i % 7);
    model.SetOption(&PlotOptions::showPoints, false);
    Draw(469, 399);
    const PlotGeometry& values = Geometry();
    const QRect strip(0, values.cornery + 3, 469, 16);
    const QImage labels = canvas.Image().copy(strip);
    const std::vector<LabelCell> cells = XLabelCells(values, model.Options().decimalPlaces, false);
    CheckLabels(canvas, cells, QRect(values.cornerx - 8, values.cornery + 4, 469 - (values.cornerx - 8), 15), true);

    model.ClearData();
    Load({"(1, 0) (1000000, 6)"});
    Draw(469, 399);
    EXPECT_EQ(Geometry().cornery, values.cornery);
    EXPECT_TRUE(canvas.Image().copy(strip) == labels);
}

TEST_F(RenderTickSpacing, DatesAndYLabelsThinToo)
{
    model.SetOption(&PlotOptions::showPoints, false);
    model.SetOption(&PlotOptions::yLabel, QString());
    Load({"(2020-01-01, 5) (2020-02-15, 9) (2020-06-30, 6)"});
    for (const int width : {300, 240}) {
        Draw(width, 399);
        const PlotGeometry& s = Geometry();
        // Nine dates along the axis, xwid / 8 apart.
        Canvas measure;
        measure.Font().SetName(QString::fromLatin1(kGraphFace));
        measure.Font().SetSize(8);
        std::vector<LabelCell> cells;
        for (int k = 0; k <= 8; ++k) {
            const QString text =
                FormatCompactDate(k == 0 ? s.minX : s.minX + k / 8.0 * s.maxextentX, CompactDateFormat());
            const QSize size = measure.TextExtent(text);
            cells.push_back({QRect(s.cornerx + k * (s.xwid / 8) - size.width() / 2, s.cornery + 4, size.width(), size.height()), text});
        }
        const QStringList drawn =
            CheckLabels(canvas, cells, QRect(s.cornerx - 8, s.cornery + 4, width - (s.cornerx - 8), cells[0].rect.height()), true);
        EXPECT_LT(drawn.size(), 9) << width;
        EXPECT_EQ(drawn.front(), cells.front().text);
    }

    model.ClearData();
    Load({"0 150 20 75"});
    Draw(469, 150); // 0 to 150 in tens: 16 labels over 96 pixels
    const PlotGeometry& s = Geometry();
    const std::vector<LabelCell> cells = YLabelCells(s, model.Options().decimalPlaces);
    const QStringList drawn = CheckLabels(canvas, cells, QRect(0, s.bottomy - s.ywid - 5, s.cornerx - 9, s.ywid + 20), false);
    EXPECT_LT(drawn.size(), static_cast<qsizetype>(cells.size()));
    // Round multiples (the "0" of the Y axis goes beside a floating X axis only).
    EXPECT_TRUE(drawn.contains(QStringLiteral("50")) && drawn.contains(QStringLiteral("100"))) << drawn.join(QLatin1Char(' ')).toStdString();
}

TEST_F(RenderTickSpacing, YLabelsGiveWayToTheZeroOfAFloatingAxis)
{
    // The "0" beside a floating X axis sits between two tick rows; the labels next to it keep
    // their distance from it too.
    model.SetOption(&PlotOptions::showPoints, false);
    model.SetOption(&PlotOptions::yLabel, QString());
    Load({"(1, -4718) (50000000, 1511)"});
    Draw(469, 399);
    const PlotGeometry& s = Geometry();
    ASSERT_NE(s.cornery, s.bottomy);
    std::vector<LabelCell> cells;
    for (const LabelCell& c : YLabelCells(s, model.Options().decimalPlaces))
        if (c.text != QLatin1String("0"))
            cells.push_back(c);
    Canvas measure;
    measure.Font().SetName(QString::fromLatin1(kGraphFace));
    measure.Font().SetSize(8);
    const QSize zero = measure.TextExtent(QStringLiteral("0"));
    LabelCell zeroCell{QRect(s.cornerx - zero.width() - 10, s.cornery - 5, zero.width(), zero.height()), QStringLiteral("0")};
    const auto above = std::find_if(cells.begin(), cells.end(), [&](const LabelCell& c) { return c.rect.top() < zeroCell.rect.top(); });
    cells.insert(above, zeroCell);
    const QStringList drawn = CheckLabels(canvas, cells, QRect(0, s.bottomy - s.ywid - 5, s.cornerx - 9, s.ywid + 20), false);
    EXPECT_TRUE(drawn.contains(QStringLiteral("0")));
}

TEST_F(RenderTickSpacing, LabelsThatKeepApartAreAllDrawn)
{
    const QString example = QStringLiteral(PLOTWELL_SOURCE_DIR "/resources/example points 1 - simple series.txt");
    model.SetOption(&PlotOptions::yLabel, QString());
    for (const QSize size : {QSize(469, 399), QSize(600, 400), QSize(1000, 700)}) {
        SCOPED_TRACE(size.width());
        LoadDataFile(model, example);
        model.SetOption(&PlotOptions::showPoints, false);
        Draw(size.width(), size.height());
        const PlotGeometry& s = Geometry();
        const std::vector<LabelCell> x = XLabelCells(s, model.Options().decimalPlaces, false);
        EXPECT_EQ(CheckLabels(canvas, x, QRect(s.cornerx - 8, s.cornery + 4, size.width() - (s.cornerx - 8), x[0].rect.height()), true),
                  Texts(x));
        const std::vector<LabelCell> y = YLabelCells(s, model.Options().decimalPlaces);
        EXPECT_EQ(CheckLabels(canvas, y, QRect(0, s.bottomy - s.ywid - 5, s.cornerx - 9, s.ywid + 10), false), Texts(y));
    }
}
