#include "graph/draw/legend.h"

#include "graph/draw/canvas.h"
#include "graph/draw/markers.h"
#include "graph/data/plot_model.h"
#include "graph/draw/titles.h"

#include <algorithm>

namespace plotwell {

namespace {

// Where the legend's lines go, in the legend's font (left on the canvas).
struct LegendLayout
{
    int x = 0;       // the left end of the names
    int bottom = 10; // below the last displayed line
    bool markers = false;
    bool shown = false; // a legend with at least one line
};

bool HasLegend(const PlotModel& model, GraphKind graphtype)
{
    return graphtype != kPieGraph && model.NumberOfSeries() >= 2;
}

LegendLayout LayOut(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth)
{
    CanvasFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetHeight(14);
    LegendLayout layout;
    int widest = 0;
    for (int n = 1; n <= model.NumberOfSeries(); ++n)
        widest = std::max(widest, canvas.TextExtent(SeriesLabel(model, n)).width());
    layout.x = surfaceWidth - (widest + 10);
    layout.markers = graphtype == kLineGraph || graphtype == kCurveGraph;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        layout.bottom += canvas.TextExtent(SeriesLabel(model, n)).height();
        layout.shown = true;
    }
    return layout;
}

} // namespace

QString SeriesLabel(const PlotModel& model, int n)
{
    const QString name = model.GetSeriesName(n);
    return name.isEmpty() ? QStringLiteral("Series %1").arg(n) : name;
}

void DrawLegend(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth)
{
    if (!HasLegend(model, graphtype))
        return;
    const PlotOptions& options = model.Options();
    const LegendLayout layout = LayOut(canvas, model, graphtype, surfaceWidth);
    canvas.Brush().SetColor(options.backgroundColor);
    int y = 10;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        if (layout.markers)
            DrawMarker(canvas, options, layout.x - 10, y + 7, n);
        const QString label = SeriesLabel(model, n);
        canvas.Font().SetColor(options.SeriesColorOf(n));
        canvas.TextOut(layout.x, y, label);
        y += canvas.TextExtent(label).height();
    }
}

QRect LegendBox(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth)
{
    if (!model.Options().showLegend || !HasLegend(model, graphtype))
        return QRect();
    const CanvasFont saved = canvas.Font();
    const LegendLayout layout = LayOut(canvas, model, graphtype, surfaceWidth);
    canvas.Font() = saved;
    if (!layout.shown)
        return QRect();
    // A marker reaches 5 pixels round its centre, 10 left of the names, and its pen beyond.
    const int left = layout.markers ? layout.x - 15 - std::max(model.Options().lineWidth, 1) : layout.x;
    return QRect(QPoint(left, 10), QPoint(surfaceWidth - 1, layout.bottom - 1));
}

} // namespace plotwell
