// The options panel: where each control stands, what it says, and what clicking it does to
// the graph, driven through the real widgets.

#include "control/options_panel.h"
#include "control_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QListView>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace plotwell;

namespace {

const QByteArray kTwoSeries = "1 2 3 4 ;Shop A\n4 3 2 1 ;Shop B\n";

QString CaptionOf(const QWidget* w)
{
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return QString();
}

} // namespace

// A fresh control at its construction width of 400: the panel as laid out for it.
TEST(OptionsPanelLayout, EachControlAtItsPlaceWithItsCaptionAndHint)
{
    RecordingSink sink;
    GraphControl graph(sink);
    const int G = 400 - 108 - 5;
    const struct
    {
        const char* name;
        int left, top, width; // relative to the parent; width 0: not fixed
        const char* caption;
        const char* hint;
    } cases[] = {
        {"GraphTypeGroupBox", G, 14, 108, "Graph type", ""},
        {"linerb", 6, 22, 80, "Line", ""},
        {"curverb", 6, 42, 60, "Curve", ""},
        {"smoothingSpinEdit", 69, 41, 36, "", "Smoothing"},
        {"barrb", 6, 62, 64, "Bar", ""},
        {"stackedbarrb", 6, 82, 80, "Stacked", ""},
        {"pierb", 6, 102, 80, "Pie", ""},
        {"GridlinesGroupBox", G, 150, 108, "Grid lines", ""},
        {"HorzGridlinesCheckbox", 6, 22, 84, "Horizontal", ""},
        {"VertGridlinesCheckbox", 6, 42, 80, "Vertical", ""},
        {"PointsCheckbox", G + 2, 228, 0, "Mark points", ""},
        {"DrawAreaCheckbox", G + 2, 252, 0, "Draw Area", ""},
        {"LineWidthLabel", G - 2, 278, 0, "Line width:", ""},
        {"OpenBtn", G + 2, 317, 50, "Open", "Open file"},
        {"LabelsBtn", G + 56, 317, 50, "Labels", "Set graph title and axis labels"},
        {"CopyBtn", G + 2, 359, 50, "Copy", "Copy graph to clipboard"},
        {"PrintBtn", G + 56, 359, 50, "Print", "Print the graph"},
        {"displayserieslabel", G + 2, -1, 0, "Display Series", ""},
    };
    for (const auto& c : cases) {
        const QWidget* w = graph.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->x(), c.left) << c.name;
        if (c.top >= 0) {
            EXPECT_EQ(w->y(), c.top) << c.name;
        }
        if (c.width > 0) {
            EXPECT_EQ(w->width(), c.width) << c.name;
        }
        EXPECT_EQ(CaptionOf(w), QString::fromLatin1(c.caption)) << c.name;
        EXPECT_EQ(w->toolTip(), QString::fromLatin1(c.hint)) << c.name;
    }
    const auto* spin = graph.findChild<QSpinBox*>(QStringLiteral("LineWidthSpinEdit"));
    const auto* label = graph.findChild<QLabel*>(QStringLiteral("LineWidthLabel"));
    EXPECT_EQ(spin->x(), label->x() + label->width());
    EXPECT_EQ(spin->y(), 275);
    EXPECT_EQ(spin->width(), 38);
    EXPECT_EQ(spin->maximum(), 30);

    const auto* printBtn = graph.findChild<QWidget*>(QStringLiteral("PrintBtn"));
    const int labelTop = printBtn->y() + printBtn->height() + 14;
    EXPECT_EQ(label->parentWidget(), &graph);
    EXPECT_EQ(graph.findChild<QWidget*>(QStringLiteral("displayserieslabel"))->y(), labelTop);
    const int side = DisplaySeriesBoxSide(&graph);
    EXPECT_GE(side, 12);
    for (int i = 1; i <= 8; ++i) {
        const auto* box = graph.findChild<QCheckBox*>(QStringLiteral("displayseriesbox%1").arg(i));
        ASSERT_NE(box, nullptr) << i;
        EXPECT_EQ(box->x(), G + 2 + 13 * (i - 1)) << i;
        EXPECT_EQ(box->width(), side) << i;
        EXPECT_EQ(box->toolTip(), QStringLiteral("Series %1").arg(i));
        EXPECT_TRUE(box->isChecked());
        EXPECT_FALSE(box->isVisibleTo(&graph));
    }
}

TEST(OptionsPanelLayout, DefaultsOfAFreshControl)
{
    RecordingSink sink;
    GraphControl graph(sink);
    EXPECT_EQ(graph.GraphType(), kLineGraph);
    EXPECT_EQ(graph.XLabel(), QStringLiteral("Datum"));
    EXPECT_EQ(graph.YLabel(), QStringLiteral("Value"));
    EXPECT_TRUE(graph.HorzGridLines() && graph.VertGridLines() && graph.ShowPoints() && graph.ShowMenu());
    EXPECT_TRUE(graph.FloatingXAxis() && graph.ShowLegend() && graph.ShowOpenBtn());
    EXPECT_FALSE(graph.DrawArea());
    EXPECT_EQ(graph.LineWidth(), 1);
    EXPECT_EQ(graph.BackgroundColor(), 0x00F8FFFFu);
    EXPECT_EQ(graph.SeriesColor(7), 0x0099CC00u);
    EXPECT_EQ(graph.ScaleAmount(), 1.0);
    EXPECT_EQ(graph.pos(), QPoint(20, 20));
    EXPECT_TRUE(graph.findChild<QRadioButton*>(QStringLiteral("linerb"))->isChecked());
    EXPECT_FALSE(graph.findChild<QWidget*>(QStringLiteral("smoothingSpinEdit"))->isEnabled());
    const QWidget* surface = graph.findChild<QWidget*>(QStringLiteral("PaintBox"));
    EXPECT_EQ(surface->geometry(), QRect(1, 1, graph.width() - 120, graph.height() - 20));
}

TEST(OptionsPanelLayout, EveryControlIsNamedForAScreenReaderAndReachedWithTab)
{
    RecordingSink sink;
    QWidget host;
    GraphControl graph(sink, &host);
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    for (QWidget* w : graph.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->parentWidget() == nullptr || qobject_cast<QSpinBox*>(w->parentWidget()))
            continue;
        const QString name = w->accessibleName().isEmpty() ? CaptionOf(w) : w->accessibleName();
        EXPECT_FALSE(name.isEmpty()) << w->objectName().toStdString();
    }
    EXPECT_EQ(graph.findChild<QWidget*>(QStringLiteral("PaintBox"))->accessibleName(), QStringLiteral("Graph"));

    // Tab from the line button visits every enabled option once.
    graph.findChild<QWidget*>(QStringLiteral("linerb"))->setFocus();
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char* name : {"linerb", "HorzGridlinesCheckbox", "VertGridlinesCheckbox", "PointsCheckbox",
                             "DrawAreaCheckbox", "LineWidthSpinEdit", "OpenBtn", "LabelsBtn", "CopyBtn", "PrintBtn"})
        EXPECT_TRUE(visited.contains(QString::fromLatin1(name))) << name << " " << visited.join(',').toStdString();
}

TEST_F(ControlFixture, OptionClicksReachTheModelAndDrawOnceATurn)
{
    Load(kTwoSeries);
    drawn = 0;
    QTest::mouseClick(Child<QRadioButton>("barrb"), Qt::LeftButton);
    QTest::mouseClick(Child<QCheckBox>("HorzGridlinesCheckbox"), Qt::LeftButton);
    Child<QSpinBox>("LineWidthSpinEdit")->setValue(4);
    Settle();
    EXPECT_EQ(drawn, 1); // three changes, one drawing
    EXPECT_EQ(graph->GraphType(), kBarGraph);
    EXPECT_FALSE(graph->HorzGridLines());
    EXPECT_TRUE(graph->VertGridLines());
    EXPECT_EQ(graph->LineWidth(), 4);

    // Setting from code shows in the panel without echoing back as a second change.
    graph->SetShowPoints(false);
    graph->SetGraphType(kCurveGraph);
    Settle();
    EXPECT_FALSE(Child<QCheckBox>("PointsCheckbox")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>("curverb")->isChecked());
    EXPECT_TRUE(Child<QWidget>("smoothingSpinEdit")->isEnabled());
    EXPECT_EQ(drawn, 2);

    drawn = 0;
    graph->SetGraphType(kCurveGraph); // the type already in force draws nothing new
    Settle();
    EXPECT_EQ(drawn, 0);
}

TEST_F(ControlFixture, EdgeCasesOfTheGraphTypeAndSeriesBoxes)
{
    // A lone series has no box to hide it, and is drawn whatever its box says.
    Load("1 2 3\n");
    EXPECT_FALSE(Child<QWidget>("displayseriesbox1")->isVisible());
    EXPECT_FALSE(Child<QWidget>("displayserieslabel")->isVisible());
    graph->Model().SetSeriesBoxChecked(1, false);
    EXPECT_TRUE(graph->SeriesDisplay(1));

    // Bar selected, then a file loaded: every load starts as a line graph.
    QTest::mouseClick(Child<QRadioButton>("barrb"), Qt::LeftButton);
    Load(kTwoSeries);
    EXPECT_TRUE(Child<QRadioButton>("linerb")->isChecked());
    EXPECT_EQ(graph->GraphType(), kLineGraph);
    EXPECT_TRUE(Child<QWidget>("displayseriesbox1")->isVisible());
    EXPECT_TRUE(Child<QWidget>("displayserieslabel")->isVisible());
    EXPECT_EQ(Child<QWidget>("displayseriesbox2")->toolTip(), QStringLiteral("Series 2 - Shop B"));
    EXPECT_EQ(Child<QWidget>("displayseriesbox2")->accessibleName(), QStringLiteral("Series 2 - Shop B"));

    // Smoothing only for a curve.
    QTest::mouseClick(Child<QRadioButton>("curverb"), Qt::LeftButton);
    EXPECT_TRUE(Child<QWidget>("smoothingSpinEdit")->isEnabled());
    QTest::mouseClick(Child<QRadioButton>("pierb"), Qt::LeftButton);
    EXPECT_FALSE(Child<QWidget>("smoothingSpinEdit")->isEnabled());
    Settle();

    // A Display Series click while Pie is selected turns the graph into a line graph, at once.
    drawn = 0;
    QTest::mouseClick(Child<QCheckBox>("displayseriesbox2"), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(Child<QRadioButton>("linerb")->isChecked());
    EXPECT_EQ(graph->GraphType(), kLineGraph);
    EXPECT_FALSE(graph->SeriesDisplay(2));
    EXPECT_EQ(drawn, 1);

    // Stacks cannot show negative values: one drawing as a line graph, and the panel follows it.
    Load("1 2 3\n4 -5 6\n");
    drawn = 0;
    graph->SetGraphType(kStackedGraph);
    Settle();
    Settle();
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(graph->GraphType(), kLineGraph);
    EXPECT_TRUE(Child<QRadioButton>("linerb")->isChecked());
    EXPECT_FALSE(Child<QWidget>("stackedbarrb")->isEnabled());
    EXPECT_FALSE(Child<QWidget>("pierb")->isEnabled());
    EXPECT_EQ(graph->LastDrawing().graphType, kLineGraph);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(ControlFixture, PropertiesWithTheirOwnRules)
{
    graph->SetLineWidth(50);
    EXPECT_EQ(graph->LineWidth(), 30);
    EXPECT_EQ(Child<QSpinBox>("LineWidthSpinEdit")->value(), 30);

    graph->SetDrawArea(true); // from code: the box stays as it was
    EXPECT_FALSE(Child<QCheckBox>("DrawAreaCheckbox")->isChecked());
    graph->SetDrawArea(false);
    QTest::mouseClick(Child<QCheckBox>("DrawAreaCheckbox"), Qt::LeftButton);
    EXPECT_TRUE(graph->DrawArea());

    const auto* open = Child<QWidget>("OpenBtn");
    graph->SetShowOpenBtn(false);
    EXPECT_FALSE(open->isVisible());
    EXPECT_EQ(Child<QWidget>("LabelsBtn")->x(), open->x() + 34);
    graph->SetShowOpenBtn(true);
    EXPECT_EQ(Child<QWidget>("LabelsBtn")->x(), open->x() + 60);

    const QRect copyBefore = Child<QWidget>("CopyBtn")->geometry();
    const int surfaceBefore = Child<QWidget>("PaintBox")->width();
    graph->SetShowMenu(false);
    EXPECT_FALSE(Child<QWidget>("GraphTypeGroupBox")->isVisible());
    EXPECT_FALSE(Child<QWidget>("PointsCheckbox")->isVisible());
    EXPECT_TRUE(Child<QWidget>("GridlinesGroupBox")->isVisible());
    EXPECT_EQ(Child<QWidget>("PaintBox")->width(), surfaceBefore); // until the next resize
    graph->resize(graph->width() + 1, graph->height());
    EXPECT_EQ(Child<QWidget>("PaintBox")->width(), graph->width());
    EXPECT_EQ(Child<QWidget>("CopyBtn")->geometry(), copyBefore.translated(1, 0));

    graph->SetShowMenu(true);
    graph->SetScaleAmount(1.25);
    graph->resize(644, 441);
    EXPECT_EQ(Child<QWidget>("PaintBox")->size(), QSize(644 - 150, 441 - 2));
}

TEST_F(ControlFixture, OpenStartsInTheLoadedFilesFolder)
{
    Load(kTwoSeries);
    QString askedIn;
    const QString next = dir.filePath(QStringLiteral("next.txt"));
    WriteFile(next, "5 6 7\n");
    graph->SetOpenFileDialog([&](QWidget*, const QString& folder) {
        askedIn = folder;
        return next;
    });
    QTest::mouseClick(Child<QPushButton>("OpenBtn"), Qt::LeftButton);
    WaitForLoad();
    EXPECT_EQ(askedIn, dir.path());
    EXPECT_EQ(graph->FileName(), next);
    EXPECT_EQ(graph->NumberOfSeries(), 1);

    graph->SetOpenFileDialog([](QWidget*, const QString&) { return QString(); }); // cancelled
    QTest::mouseClick(Child<QPushButton>("OpenBtn"), Qt::LeftButton);
    EXPECT_FALSE(graph->Loading());
    EXPECT_EQ(graph->FileName(), next);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(ControlFixture, EachGraphTypeButtonChoosesAndShowsItsOwnType)
{
    Load(kTwoSeries);
    graph->SetTitle(QString());
    const struct
    {
        const char* button;
        GraphKind type;
        const char* description;
    } cases[] = {{"curverb", kCurveGraph, "Smoothed curve graph"}, {"barrb", kBarGraph, "Bar graph"},
                 {"stackedbarrb", kStackedGraph, "Stacked bar graph"}, {"pierb", kPieGraph, "Pie graph"},
                 {"linerb", kLineGraph, "Line graph"}};
    for (const auto& c : cases) {
        QTest::mouseClick(Child<QRadioButton>(c.button), Qt::LeftButton);
        Settle();
        EXPECT_EQ(graph->GraphType(), c.type) << c.button;
        EXPECT_EQ(Child<QWidget>("PaintBox")->accessibleDescription(),
                  QString::fromLatin1(c.description) + QStringLiteral(" of 2 series"));
    }
    for (const auto& c : cases) {
        graph->SetGraphType(c.type);
        Settle();
        EXPECT_TRUE(Child<QRadioButton>(c.button)->isChecked()) << c.button;
    }
}

TEST_F(ControlFixture, OpenDialogListsFilesWithoutADot)
{
    Load(kTwoSeries);
    WriteFile(dir.filePath(QStringLiteral("sales")), "1 2 3\n");
    QStringList filters;
    QStringList listed;
    // The control's own dialog, as the user sees it (not the desktop's on this platform).
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(view, nullptr);
        QDeadlineTimer deadline(5000);
        while (!listed.contains(QStringLiteral("sales")) && !deadline.hasExpired()) {
            QTest::qWait(10);
            listed.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
        dialog->reject();
    });
    QTest::mouseClick(Child<QPushButton>("OpenBtn"), Qt::LeftButton);
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Any file (*)"), QStringLiteral("Column files (*.csv *.tsv *)")}));
    EXPECT_TRUE(listed.contains(QStringLiteral("sales"))) << listed.join(u',').toStdString();
    EXPECT_TRUE(listed.contains(QStringLiteral("data 1.txt"))) << listed.join(u',').toStdString();
    EXPECT_FALSE(graph->Loading());
}

TEST_F(ControlFixture, SurfaceDescribesTheGraphForAScreenReader)
{
    Load(kTwoSeries);
    graph->SetTitle(QStringLiteral("Sales"));
    QTest::mouseClick(Child<QRadioButton>("barrb"), Qt::LeftButton);
    EXPECT_EQ(Child<QWidget>("PaintBox")->accessibleDescription(), QStringLiteral("Bar graph of 2 series: Sales"));
}
