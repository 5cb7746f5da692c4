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
template <typename W> W* place(W* widget, const QString& name, QRect geometry, const QString& hint = QString())
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

QRadioButton* radio(QWidget* box, const QString& name, const QString& caption, int top, int width)
{
    return place(new QRadioButton(caption, box), name, QRect(6, top, width, 0));
}

QCheckBox* check(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    return place(new QCheckBox(caption, parent), name, QRect(left, top, width, 0));
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& hint, int left, int top)
{
    QPushButton* b = place(new QPushButton(caption, parent), name, QRect(left, top, kButtonWidth, 0), hint);
    b->setAccessibleDescription(hint);
    return b;
}

QSpinBox* spin(QWidget* parent, const QString& name, int left, int top, int width, OptionRange range, int value,
               const QString& accessibleName)
{
    auto* s = new QSpinBox(parent);
    s->setRange(range.low, range.high);
    s->setValue(value);
    s->setAccessibleName(accessibleName);
    return place(s, name, QRect(left, top, width, 0));
}

} // namespace

int DisplaySeriesBoxSide(const QWidget* control)
{
    // 12 pixels, unless the style's check mark needs more: a clipped box reads as broken.
    return std::max(12, control->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control));
}

TOptionsPanel::TOptionsPanel(QWidget* control)
{
    const int W = control->width();
    const int G = W - kGroupWidth - 5;

    GraphTypeGroupBox = place(new QGroupBox(QStringLiteral("Graph type"), control), QStringLiteral("GraphTypeGroupBox"),
                              QRect(G, 14, kGroupWidth, 126));
    linerb = radio(GraphTypeGroupBox, "linerb", QStringLiteral("Line"), 22, 80);
    curverb = radio(GraphTypeGroupBox, "curverb", QStringLiteral("Curve"), 42, 60);
    smoothingSpinEdit =
        spin(GraphTypeGroupBox, "smoothingSpinEdit", 69, 41, 36, kSmoothingRange, 3, QStringLiteral("Smoothing"));
    smoothingSpinEdit->setToolTip(QStringLiteral("Smoothing"));
    smoothingSpinEdit->setEnabled(false);
    TAnchors::SetAnchors(smoothingSpinEdit, Qt::TopEdge | Qt::RightEdge);
    barrb = radio(GraphTypeGroupBox, "barrb", QStringLiteral("Bar"), 62, 64);
    stackedbarrb = radio(GraphTypeGroupBox, "stackedbarrb", QStringLiteral("Stacked"), 82, 80);
    pierb = radio(GraphTypeGroupBox, "pierb", QStringLiteral("Pie"), 102, 80);
    for (const auto& [type, rb] : {std::pair{gtline, linerb}, std::pair{gtcurve, curverb}, std::pair{gtbar, barrb},
                                   std::pair{gtstacked, stackedbarrb}, std::pair{gtpie, pierb}})
        graphTypeButtons[GraphTypeIndex(type)] = rb;

    GridlinesGroupBox = place(new QGroupBox(QStringLiteral("Grid lines"), control), QStringLiteral("GridlinesGroupBox"),
                              QRect(G, 150, kGroupWidth, 66));
    HorzGridlinesCheckbox = check(GridlinesGroupBox, "HorzGridlinesCheckbox", QStringLiteral("Horizontal"), 6, 22, 84);
    VertGridlinesCheckbox = check(GridlinesGroupBox, "VertGridlinesCheckbox", QStringLiteral("Vertical"), 6, 42, 80);

    PointsCheckbox = check(control, "PointsCheckbox", QStringLiteral("Mark points"), G + 2, 228, 0);
    DrawAreaCheckbox = check(control, "DrawAreaCheckbox", QStringLiteral("Draw Area"), G + 2, 252, 0);

    LineWidthLabel = place(new QLabel(QStringLiteral("Line width:"), control), QStringLiteral("LineWidthLabel"),
                           QRect(G + 2 - 4, 278, 0, 0));
    LineWidthSpinEdit = spin(control, "LineWidthSpinEdit", LineWidthLabel->x() + LineWidthLabel->width(), 275, 38,
                             kLineWidthRange, 1, QStringLiteral("Line width"));
    LineWidthLabel->setBuddy(LineWidthSpinEdit);

    OpenBtn = button(control, "OpenBtn", QStringLiteral("Open"), QStringLiteral("Open file"), G + 2, 317);
    LabelsBtn = button(control, "LabelsBtn", QStringLiteral("Labels"), QStringLiteral("Set graph title and axis labels"),
                       OpenBtn->x() + OpenBtn->width() + 4, 317);
    CopyBtn = button(control, "CopyBtn", QStringLiteral("Copy"), QStringLiteral("Copy graph to clipboard"), G + 2, 359);
    PrintBtn = button(control, "PrintBtn", QStringLiteral("Print"), QStringLiteral("Print the graph"),
                      CopyBtn->x() + CopyBtn->width() + 4, 359);

    displayserieslabel = place(new QLabel(QStringLiteral("Display Series"), control), QStringLiteral("displayserieslabel"),
                               QRect(G + 2, PrintBtn->y() + PrintBtn->height() + 14, 0, 0));
    displayserieslabel->hide();
    const int boxTop = displayserieslabel->y() + displayserieslabel->height() + 2;
    const int boxSide = DisplaySeriesBoxSide(control);
    for (int i = 1; i <= maxseries; ++i) {
        const QString hint = QStringLiteral("Series %1").arg(i);
        QCheckBox* box = place(new QCheckBox(control), QStringLiteral("displayseriesbox%1").arg(i),
                               QRect(G + 2 + 13 * (i - 1), boxTop, boxSide, 0), hint);
        box->setAccessibleName(hint);
        box->setChecked(true);
        box->hide();
        displayseriesboxes[static_cast<std::size_t>(i - 1)] = box;
    }

    const QList<QWidget*> anchored{GraphTypeGroupBox, GridlinesGroupBox, PointsCheckbox, DrawAreaCheckbox,
                                   LineWidthLabel,    LineWidthSpinEdit, OpenBtn,        LabelsBtn,
                                   CopyBtn,           PrintBtn,          displayserieslabel};
    for (QWidget* child : anchored)
        TAnchors::SetAnchors(child, Qt::TopEdge | Qt::RightEdge);
    for (QCheckBox* box : displayseriesboxes)
        TAnchors::SetAnchors(box, Qt::TopEdge | Qt::RightEdge);
}

std::optional<Tgraphtype> TOptionsPanel::CheckedGraphType() const
{
    for (std::size_t i = 0; i < kGraphTypes.size(); ++i)
        if (graphTypeButtons[i]->isChecked())
            return kGraphTypes[i].type;
    return std::nullopt;
}

void TOptionsPanel::PlaceLineWidth()
{
    LineWidthLabel->move(PointsCheckbox->x(), LineWidthLabel->y());
    LineWidthSpinEdit->move(LineWidthLabel->x() + LineWidthLabel->width() + 3, LineWidthSpinEdit->y());
    TAnchors::SetAnchors(LineWidthLabel, Qt::TopEdge | Qt::RightEdge);
    TAnchors::SetAnchors(LineWidthSpinEdit, Qt::TopEdge | Qt::RightEdge);
}

void TOptionsPanel::FitToFont()
{
    for (QWidget* w : QList<QWidget*>{LineWidthLabel, displayserieslabel, PointsCheckbox, DrawAreaCheckbox}) {
        w->resize(w->sizeHint());
        TAnchors::SetAnchors(w, Qt::TopEdge | Qt::RightEdge);
    }
    PlaceLineWidth();
}


} // namespace plotwell
