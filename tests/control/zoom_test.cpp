// Zoom and pan on the plotting surface, driven by real key, wheel and mouse events on
// "PaintBox": the views they give from a known whole graph, their history, and what keeps
// or resets them.

#include "control/view_steps.h"
#include "control_fixture.h"
#include "graph/data/status_texts.h"
#include "graph/draw/renderer.h"
#include "graph/load/point_parser.h"
#include "graph/picture/picture_file.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QWheelEvent>

#include <optional>
#include <vector>

namespace plotwell {

namespace {

// 101 bare values: the whole graph's X runs from position 1 to 101.
QByteArray Ramp(int count = 101)
{
    QByteArray line;
    for (int i = 1; i <= count; ++i)
        line += QByteArray::number(i) + ' ';
    return line + '\n';
}

using Span = std::optional<ViewSpan>;

} // namespace

struct ZoomFixture : ControlFixture
{
    QWidget* surface = nullptr;

    void SetUp() override
    {
        Load(Ramp());
        surface = Child<QWidget>("PaintBox");
        surface->setFocus();
        Settle();
    }

    void Key(int key)
    {
        QTest::keyClick(surface, static_cast<Qt::Key>(key));
        Settle();
    }

    void Wheel(QPoint pos, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWheelEvent event(QPointF(pos), QPointF(surface->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface, &event);
        Settle();
    }

    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, to);
        Settle();
    }

    Span ViewX() const { return graph->View().x; }
    const PlotGeometry& Shown() const { return graph->LastDrawing().geometry; }
};

// Each key from the whole graph 1..101: exact ranges, held at the whole graph's ends.
TEST_F(ZoomFixture, KeysGiveExactViews)
{
    struct Case
    {
        const char* name;
        std::vector<int> keys;
        Span x;
    } const cases[] = {
        {"+ halves the span around its centre", {Qt::Key_Plus}, ViewSpan{26, 76}},
        {"+ twice", {Qt::Key_Plus, Qt::Key_Plus}, ViewSpan{38.5, 63.5}},
        {"- after + is the whole graph", {Qt::Key_Plus, Qt::Key_Minus}, std::nullopt},
        {"- never goes beyond the whole graph", {Qt::Key_Minus}, std::nullopt},
        {"Right pans a quarter of the span", {Qt::Key_Plus, Qt::Key_Right}, ViewSpan{38.5, 88.5}},
        {"Left pans a quarter of the span", {Qt::Key_Plus, Qt::Key_Left}, ViewSpan{13.5, 63.5}},
        {"a pan stops at the end", {Qt::Key_Plus, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}, ViewSpan{51, 101}},
        {"the whole graph does not pan", {Qt::Key_Right}, std::nullopt},
        {"Home shows the whole graph", {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Home}, std::nullopt},
        {"Backspace goes back one view", {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Backspace}, ViewSpan{26, 76}},
        {"Backspace after Home", {Qt::Key_Plus, Qt::Key_Home, Qt::Key_Backspace}, ViewSpan{26, 76}},
        {"Backspace without history", {Qt::Key_Backspace, Qt::Key_Backspace}, std::nullopt},
        // Bare values: never below a span of 2 positions.
        {"the smallest span", std::vector<int>(10, Qt::Key_Plus), ViewSpan{50, 52}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        graph->ShowAll();
        Settle();
        Key(Qt::Key_Home);
        for (const int key : c.keys)
            Key(key);
        EXPECT_EQ(ViewX(), c.x);
        // The picture shows the view.
        const ViewSpan shown = c.x.value_or(ViewSpan{1, 101});
        EXPECT_DOUBLE_EQ(Shown().minX, shown.low);
        EXPECT_DOUBLE_EQ(Shown().maxextentX, shown.high - shown.low);
    }
}

// (X, Y) points zoom down to 1e-9 of the whole X span, and no further.
TEST_F(ZoomFixture, PointsZoomToABillionthOfTheSpan)
{
    Load("(0, 1) (50, 3) (100, 2)\n");
    surface->setFocus();
    for (int i = 0; i < 40; ++i)
        Key(Qt::Key_Plus);
    ASSERT_TRUE(ViewX());
    EXPECT_NEAR(ViewX()->high - ViewX()->low, 100e-9, 2e-14); // the doubles near 50 are 7e-15 apart
    EXPECT_NEAR((ViewX()->high + ViewX()->low) / 2, 50, 1e-9);
    EXPECT_NE(graph->LastDrawing().geometry.maxlimitY, 0); // still a graph with axes and a readout
}

// The wheel zooms X around the value under the pointer, 1.25 times a notch, up zooms in;
// Ctrl zooms Y there, Shift pans. Several notches before a drawing build on each other.
TEST_F(ZoomFixture, WheelZoomsAroundThePointer)
{
    const PlotGeometry whole = Shown();
    const int column = whole.cornerx + whole.xwid / 4;
    const double under = XAtColumn(whole, column);
    Wheel(QPoint(column, 100), 120);
    ASSERT_TRUE(ViewX());
    EXPECT_NEAR(ViewX()->high - ViewX()->low, 100 / 1.25, 1e-9);
    EXPECT_NEAR(XAtColumn(Shown(), column), under, 1e-9);
    Wheel(QPoint(column, 100), 240); // two notches
    EXPECT_NEAR(ViewX()->high - ViewX()->low, 100 / (1.25 * 1.25 * 1.25), 1e-9);
    EXPECT_NEAR(XAtColumn(Shown(), column), under, 1e-9);
    // One gesture is one step back.
    Key(Qt::Key_Backspace);
    EXPECT_EQ(ViewX(), Span());

    const int row = whole.bottomy - whole.ywid / 2;
    const double yUnder = YAtRow(whole, row);
    Wheel(QPoint(column, row), 120, Qt::ControlModifier);
    ASSERT_TRUE(graph->View().y);
    EXPECT_NEAR(graph->View().y->high - graph->View().y->low, whole.maxextentY / 1.25, 1e-9);
    EXPECT_NEAR(YAtRow(Shown(), row), yUnder, 1e-9);
    // Zooming Y out past the data fits Y again.
    Wheel(QPoint(column, row), -360, Qt::ControlModifier);
    EXPECT_FALSE(graph->View().y);

    Key(Qt::Key_Plus);
    const ViewSpan before = *ViewX();
    Wheel(QPoint(column, 100), -120, Qt::ShiftModifier); // down pans right
    EXPECT_DOUBLE_EQ(ViewX()->low, before.low + (before.high - before.low) / 8);
}

// A drag of the left button zooms into its box, X and Y; one shorter than 4 pixels is a click.
TEST_F(ZoomFixture, RubberBandZoomsIntoItsBox)
{
    const PlotGeometry whole = Shown();
    const QPoint a(whole.cornerx + 100, whole.bottomy - 200);
    const QPoint b(whole.cornerx + 300, whole.bottomy - 50);
    Drag(a, a + QPoint(2, 1));
    EXPECT_FALSE(graph->View().Zoomed());
    Drag(b, a); // any corner first
    ASSERT_TRUE(ViewX());
    EXPECT_DOUBLE_EQ(ViewX()->low, XAtColumn(whole, a.x()));
    EXPECT_DOUBLE_EQ(ViewX()->high, XAtColumn(whole, b.x()));
    ASSERT_TRUE(graph->View().y);
    EXPECT_DOUBLE_EQ(graph->View().y->low, YAtRow(whole, b.y()));
    EXPECT_DOUBLE_EQ(graph->View().y->high, YAtRow(whole, a.y()));
    // A double-click shows the whole graph.
    QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, a);
    Settle();
    EXPECT_FALSE(graph->View().Zoomed());
}

// The middle button drags the graph along.
TEST_F(ZoomFixture, MiddleDragPans)
{
    Key(Qt::Key_Plus); // 26..76 over xwid pixels
    const PlotGeometry g = Shown();
    const QPoint from(g.cornerx + 200, 100);
    QTest::mousePress(surface, Qt::MiddleButton, Qt::NoModifier, from);
    QTest::mouseMove(surface, from - QPoint(50, 0));
    QTest::mouseMove(surface, from - QPoint(100, 0));
    QTest::mouseRelease(surface, Qt::MiddleButton, Qt::NoModifier, from - QPoint(100, 0));
    Settle();
    EXPECT_NEAR(ViewX()->low, 26 + 100.0 / g.xwid * 50, 1e-9);
    Key(Qt::Key_Backspace); // the drag was one step
    EXPECT_EQ(ViewX(), (Span(ViewSpan{26, 76})));
}

// The status line's figures cover the points inside the X range, with the whole graph's
// texts and rounding; the description says the range.
TEST_F(ZoomFixture, StatusLineAndDescriptionSayTheView)
{
    EXPECT_EQ(StatusLineText(graph->Model(), graph->LastDrawing().view), StatusLineText(graph->Model()));
    Key(Qt::Key_Plus); // 26..76
    RecordingSink sink;
    PlotModel inside(sink);
    QString values;
    for (int i = 26; i <= 76; ++i)
        values += QString::number(i) + QLatin1Char(' ');
    ASSERT_TRUE(AddSeriesFromString(inside, values, true));
    EXPECT_EQ(StatusLineText(graph->Model(), graph->LastDrawing().view), QStringLiteral("In view: ") + StatusLineText(inside));
    EXPECT_TRUE(surface->accessibleDescription().endsWith(QStringLiteral(", X from 26 to 76")))
        << surface->accessibleDescription().toStdString();
    Key(Qt::Key_Home);
    EXPECT_FALSE(surface->accessibleDescription().contains(QStringLiteral("X from")));
}

// F5 keeps the view while it overlaps the reloaded data; another file shows the whole graph.
TEST_F(ZoomFixture, ReloadKeepsTheViewAnotherFileResetsIt)
{
    const QString path = graph->FileName();
    Key(Qt::Key_Plus);
    graph->LoadFile(path, DataLayout::ByName, GraphControl::ViewOnLoad::Keep);
    WaitForLoad();
    EXPECT_EQ(ViewX(), (Span(ViewSpan{26, 76})));
    // Reloaded shorter: the view is cut to the data, then lost once it no longer overlaps.
    WriteFile(path, Ramp(50));
    graph->LoadFile(path, DataLayout::ByName, GraphControl::ViewOnLoad::Keep);
    WaitForLoad();
    EXPECT_EQ(ViewX(), (Span(ViewSpan{26, 50})));
    WriteFile(path, Ramp(20));
    graph->LoadFile(path, DataLayout::ByName, GraphControl::ViewOnLoad::Keep);
    WaitForLoad();
    EXPECT_FALSE(graph->View().Zoomed());

    Key(Qt::Key_Plus);
    ASSERT_TRUE(graph->View().Zoomed());
    Load(Ramp(30));
    EXPECT_FALSE(graph->View().Zoomed());
    Key(Qt::Key_Backspace); // no history from the file before
    EXPECT_FALSE(graph->View().Zoomed());
}

// Copy takes the view: the same pixels as drawing that view alone.
TEST_F(ZoomFixture, CopyTakesTheView)
{
    Key(Qt::Key_Plus);
    Key(Qt::Key_Right);
    Canvas canvas;
    canvas.SetSize(surface->width(), surface->height());
    DrawRequest request;
    request.view = graph->View();
    request.controlClientHeight = graph->height();
    // The canvas keeps the tools of the drawing before: twice, as the surface has drawn.
    DrawGraph(graph->Model(), canvas, request);
    DrawGraph(graph->Model(), canvas, request);
    EXPECT_EQ(graph->SurfaceImage().convertToFormat(QImage::Format_RGB32), canvas.Image().convertToFormat(QImage::Format_RGB32));

    // The vector picture beside the bitmap on the clipboard shows the same view.
    graph->CopyToClipboard();
    const QByteArray svg = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("image/svg+xml"));
    EXPECT_EQ(svg, DrawVectorPicture(graph->Model(), PictureFormat::Svg, surface->size(), request).bytes);
}

// Nothing to zoom: keys, the wheel and a drag change nothing and draw nothing again.
TEST_F(ZoomFixture, NothingToZoom)
{
    struct Case
    {
        const char* name;
        std::function<void()> prepare;
    } const cases[] = {
        {"a pie", [&] { graph->SetGraphType(kPieGraph); }},
        {"an empty store", [&] { graph->ClearData(); }},
        {"a single point", [&] { Load("5\n"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Ramp());
        surface->setFocus();
        c.prepare();
        Settle();
        const int drawings = drawn;
        Key(Qt::Key_Plus);
        Key(Qt::Key_Right);
        Wheel(QPoint(200, 100), 120);
        Drag(QPoint(100, 100), QPoint(300, 200));
        EXPECT_FALSE(graph->View().Zoomed());
        EXPECT_EQ(drawn, drawings); // not drawn again
    }
    // Keys reach the surface only with the focus.
    Load(Ramp());
    Child<QWidget>("linerb")->setFocus();
    QTest::keyClick(Child<QWidget>("linerb"), Qt::Key_Plus);
    Settle();
    EXPECT_FALSE(graph->View().Zoomed());
}

} // namespace plotwell
