#include "graph/draw/legend.h"

#include "graph/draw/canvas.h"
#include "graph/draw/markers.h"
#include "graph/data/plot_model.h"
#include "graph/draw/titles.h"

#include <algorithm>

namespace plotwell {

QString SeriesLabel(const PlotModel& model, int n)
{
    const QString name = model.GetSeriesName(n);
    return name.isEmpty() ? QStringLiteral("Series %1").arg(n) : name;
}

void DrawLegend(TCanvas& canvas, const PlotModel& model, Tgraphtype graphtype, int surfaceWidth)
{
    if (graphtype == gtpie || model.NumberOfSeries() < 2)
        return;
    const PlotOptions& options = model.Options();
    TFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetHeight(14);
    canvas.Brush().SetColor(options.BackgroundColor);
    int widest = 0;
    for (int n = 1; n <= model.NumberOfSeries(); ++n)
        widest = std::max(widest, canvas.TextExtent(SeriesLabel(model, n)).width());
    const int x = surfaceWidth - (widest + 10);
    int y = 10;
    const bool markers = graphtype == gtline || graphtype == gtcurve;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        if (markers)
            DrawMarker(canvas, options, x - 10, y + 7, n);
        const QString label = SeriesLabel(model, n);
        font.SetColor(options.SeriesColorOf(n));
        canvas.TextOut(x, y, label);
        y += canvas.TextExtent(label).height();
    }
}

} // namespace plotwell
