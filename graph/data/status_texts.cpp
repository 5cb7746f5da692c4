#include "graph/data/status_texts.h"

#include "core/number_format.h"
#include "core/rounding.h"
#include "graph/data/plot_model.h"
#include "graph/data/plot_view.h"
#include "graph/data/series_statistics.h"
#include "graph/data/view_points.h"

#include <deque>

namespace plotwell {

namespace {

QString Plural(qint64 n)
{
    return n == 1 ? QString() : QStringLiteral("s");
}

// "N pt(s)    Min: a    Max: b    Avg: c    Std Dev: d"
QString Figures(const SeriesSummary& s)
{
    return FormatCount(s.numpoints) + QStringLiteral(" pt") + Plural(s.numpoints) + QStringLiteral("    Min: ") +
           FormatGeneral(s.minvalue) + QStringLiteral("    Max: ") + FormatGeneral(s.maxvalue) +
           QStringLiteral("    Avg: ") + FormatGeneral(RoundTo(s.average, 4)) + QStringLiteral("    Std Dev: ") +
           FormatGeneral(RoundTo(s.standarddeviation, 3));
}

} // namespace

QString StatusLineText(const PlotModel& model)
{
    const SeriesSummary& f = model.DisplayedFigures();
    if (f.numpoints <= 0)
        return QStringLiteral("0 points");
    return QLatin1Char(' ') + Figures(f);
}

QString StatusLineText(const PlotModel& model, const PlotView& view)
{
    if (!view.x)
        return StatusLineText(model);
    const double low = view.x->low;
    const double high = view.x->high;
    // Points in X order are one run of the series; the others are picked out into copies.
    std::deque<PointList> picked;
    ValueStatistics stats;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        const bool inOrder = model.DrawingIndex(n).HasBlocks() || PointsInXOrder(points);
        const PointSpan span = PointsInRange(points, inOrder, low, high);
        if (span.inOrder) {
            stats.Add(points, span.first, span.last);
            continue;
        }
        PointList& inside = picked.emplace_back();
        for (const DataPoint& p : points)
            if (p.x >= low && p.x <= high)
                inside.push_back(p);
        stats.Add(inside);
    }
    const SeriesSummary f{stats.Values(), stats.Min(), stats.Max(), stats.Average(), stats.StandardDeviation()};
    if (f.numpoints <= 0)
        return QStringLiteral("In view: 0 points");
    return QStringLiteral("In view:  ") + Figures(f);
}

QStringList SummaryLines(const PlotModel& model)
{
    QStringList lines;
    for (int k = 1; k <= model.NumberOfSeries(); ++k) {
        if (!model.SeriesDisplay(k))
            continue;
        lines.append(QStringLiteral("Series %1:     ").arg(k) + Figures(model.GetSeriesSummary(k)));
    }
    return lines;
}

} // namespace plotwell
