#include "control/options_panel.h"

#include "dialogs/anchors.h"
#include "graph/data/plot_options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QList>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace plotwell {

namespace {

constexpr int kGroupWidth = 108;
constexpr int kButtonWidth = 50;

// Names a child for tests and tools, gives it its hint and places it; a width or height of 0
// takes the widget's own.
template <typename W> W* Place(W* widget, const QString& name, QRect geometry, const QString& hint = QString())
{
    widget->setObjectName(name);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    if (geometry.height() <= 0)
        geometry.setHeight(widget->sizeHint().height());
    if (geometry.width() <= 0)
        geometry.setWidth(widget->sizeHint().width());
    widget->setGeometry(geometry);
    return widget;
}

QRadioButton* Radio(QWidget* box, const QString& name, const QString& caption, int top, int width)
{
    return Place(new QRadioButton(caption, box), name, QRect(6, top, width, 0));
}

QCheckBox* Check(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    return Place(new QCheckBox(caption, parent), name, QRect(left, top, width, 0));
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption, const QString& hint, int left, int top)
{
    QPushButton* b = Place(new QPushButton(caption, parent), name, QRect(left, top, kButtonWidth, 0), hint);
    b->setAccessibleDescription(hint);
    return b;
}

QSpinBox* Spin(QWidget* parent, const QString& name, int left, int top, int width, OptionRange range, int value,
               const QString& accessibleName)
{
    auto* s = new QSpinBox(parent);
    s->setRange(range.low, range.high);
    s->setValue(value);
    s->setAccessibleName(accessibleName);
    return Place(s, name, QRect(left, top, width, 0));
}

} // namespace

int DisplaySeriesBoxSide(const QWidget* control)
{
    // 12 pixels, unless the style's check mark needs more: a clipped box reads as broken.
    return std::max(12, control->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control));
}

OptionsPanel::OptionsPanel(QWidget* control)
{
    const int W = control->width();
    const int G = W - kGroupWidth - 5;

    graphTypeGroupBox = Place(new QGroupBox(QStringLiteral("Graph type"), control), QStringLiteral("GraphTypeGroupBox"),
                              QRect(G, 14, kGroupWidth, 126));
    linerb = Radio(graphTypeGroupBox, "linerb", QStringLiteral("Line"), 22, 80);
    curverb = Radio(graphTypeGroupBox, "curverb", QStringLiteral("Curve"), 42, 60);
    smoothingSpinEdit =
        Spin(graphTypeGroupBox, "smoothingSpinEdit", 69, 41, 36, kSmoothingRange, 3, QStringLiteral("Smoothing"));
    smoothingSpinEdit->setToolTip(QStringLiteral("Smoothing"));
    smoothingSpinEdit->setEnabled(false);
    AnchorLayout::SetAnchors(smoothingSpinEdit, Qt::TopEdge | Qt::RightEdge);
    barrb = Radio(graphTypeGroupBox, "barrb", QStringLiteral("Bar"), 62, 64);
    stackedbarrb = Radio(graphTypeGroupBox, "stackedbarrb", QStringLiteral("Stacked"), 82, 80);
    pierb = Radio(graphTypeGroupBox, "pierb", QStringLiteral("Pie"), 102, 80);
    for (const auto& [type, rb] : {std::pair{kLineGraph, linerb}, std::pair{kCurveGraph, curverb}, std::pair{kBarGraph, barrb},
                                   std::pair{kStackedGraph, stackedbarrb}, std::pair{kPieGraph, pierb}})
        graphTypeButtons[GraphTypeIndex(type)] = rb;

    gridlinesGroupBox = Place(new QGroupBox(QStringLiteral("Grid lines"), control), QStringLiteral("GridlinesGroupBox"),
                              QRect(G, 150, kGroupWidth, 66));
    horzGridlinesCheckbox = Check(gridlinesGroupBox, "HorzGridlinesCheckbox", QStringLiteral("Horizontal"), 6, 22, 84);
    vertGridlinesCheckbox = Check(gridlinesGroupBox, "VertGridlinesCheckbox", QStringLiteral("Vertical"), 6, 42, 80);

    pointsCheckbox = Check(control, "PointsCheckbox", QStringLiteral("Mark points"), G + 2, 228, 0);
    drawAreaCheckbox = Check(control, "DrawAreaCheckbox", QStringLiteral("Draw Area"), G + 2, 252, 0);

    lineWidthLabel = Place(new QLabel(QStringLiteral("Line width:"), control), QStringLiteral("LineWidthLabel"),
                           QRect(G + 2 - 4, 278, 0, 0));
    lineWidthSpinEdit = Spin(control, "LineWidthSpinEdit", lineWidthLabel->x() + lineWidthLabel->width(), 275, 38,
                             kLineWidthRange, 1, QStringLiteral("Line width"));
    lineWidthLabel->setBuddy(lineWidthSpinEdit);

    openBtn = Button(control, "OpenBtn", QStringLiteral("Open"), QStringLiteral("Open file"), G + 2, 317);
    labelsBtn = Button(control, "LabelsBtn", QStringLiteral("Labels"), QStringLiteral("Set graph title and axis labels"),
                       openBtn->x() + openBtn->width() + 4, 317);
    copyBtn = Button(control, "CopyBtn", QStringLiteral("Copy"), QStringLiteral("Copy graph to clipboard"), G + 2, 359);
    printBtn = Button(control, "PrintBtn", QStringLiteral("Print"), QStringLiteral("Print the graph"),
                      copyBtn->x() + copyBtn->width() + 4, 359);

    displayserieslabel = Place(new QLabel(QStringLiteral("Display Series"), control), QStringLiteral("displayserieslabel"),
                               QRect(G + 2, printBtn->y() + printBtn->height() + 14, 0, 0));
    displayserieslabel->hide();
    const int boxTop = displayserieslabel->y() + displayserieslabel->height() + 2;
    const int boxSide = DisplaySeriesBoxSide(control);
    for (int i = 1; i <= maxseries; ++i) {
        const QString hint = QStringLiteral("Series %1").arg(i);
        QCheckBox* box = Place(new QCheckBox(control), QStringLiteral("displayseriesbox%1").arg(i),
                               QRect(G + 2 + 13 * (i - 1), boxTop, boxSide, 0), hint);
        box->setAccessibleName(hint);
        box->setChecked(true);
        box->hide();
        displayseriesboxes[static_cast<std::size_t>(i - 1)] = box;
    }

    const QList<QWidget*> anchored{graphTypeGroupBox, gridlinesGroupBox, pointsCheckbox, drawAreaCheckbox,
                                   lineWidthLabel,    lineWidthSpinEdit, openBtn,        labelsBtn,
                                   copyBtn,           printBtn,          displayserieslabel};
    for (QWidget* child : anchored)
        AnchorLayout::SetAnchors(child, Qt::TopEdge | Qt::RightEdge);
    for (QCheckBox* box : displayseriesboxes)
        AnchorLayout::SetAnchors(box, Qt::TopEdge | Qt::RightEdge);
}

std::optional<GraphKind> OptionsPanel::CheckedGraphType() const
{
    for (std::size_t i = 0; i < kGraphTypes.size(); ++i)
        if (graphTypeButtons[i]->isChecked())
            return kGraphTypes[i].type;
    return std::nullopt;
}

void OptionsPanel::PlaceLineWidth()
{
    lineWidthLabel->move(pointsCheckbox->x(), lineWidthLabel->y());
    lineWidthSpinEdit->move(lineWidthLabel->x() + lineWidthLabel->width() + 3, lineWidthSpinEdit->y());
    AnchorLayout::SetAnchors(lineWidthLabel, Qt::TopEdge | Qt::RightEdge);
    AnchorLayout::SetAnchors(lineWidthSpinEdit, Qt::TopEdge | Qt::RightEdge);
}

void OptionsPanel::FitToFont()
{
    for (QWidget* w : QList<QWidget*>{lineWidthLabel, displayserieslabel, pointsCheckbox, drawAreaCheckbox}) {
        w->resize(w->sizeHint());
        AnchorLayout::SetAnchors(w, Qt::TopEdge | Qt::RightEdge);
    }
    PlaceLineWidth();
}


} // namespace plotwell
