#include "graph/data/status_texts.h"

#include "core/number_format.h"
#include "core/rounding.h"
#include "graph/data/plot_model.h"
#include "graph/data/series_statistics.h"

namespace plotwell {

namespace {

QString plural(qint64 n)
{
    return n == 1 ? QString() : QStringLiteral("s");
}

// "N pt(s)    Min: a    Max: b    Avg: c    Std Dev: d"
QString figures(qint64 count, double minValue, double maxValue, double average, double deviation)
{
    return FormatCount(count) + QStringLiteral(" pt") + plural(count) + QStringLiteral("    Min: ") +
           FormatGeneral(minValue) + QStringLiteral("    Max: ") + FormatGeneral(maxValue) +
           QStringLiteral("    Avg: ") + FormatGeneral(RoundTo(average, 4)) + QStringLiteral("    Std Dev: ") +
           FormatGeneral(RoundTo(deviation, 3));
}

} // namespace

QString StatusLineText(const PlotModel& model)
{
    const PlotModel::TDisplayedFigures& f = model.DisplayedFigures();
    if (f.values <= 0)
        return QStringLiteral("0 points");
    return QLatin1Char(' ') + figures(f.values, f.min, f.max, f.average, f.deviation);
}

QStringList SummaryLines(const PlotModel& model)
{
    QStringList lines;
    for (int k = 1; k <= model.NumberOfSeries(); ++k) {
        if (!model.SeriesDisplay(k))
            continue;
        const SeriesSummary s = model.GetSeriesSummary(k);
        lines.append(QStringLiteral("Series %1:     ").arg(k) +
                     figures(s.numpoints, s.minvalue, s.maxvalue, s.average, s.standarddeviation));
    }
    return lines;
}

} // namespace plotwell
