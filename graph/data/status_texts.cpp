#include "graph/data/status_texts.h"

#include "core/number_format.h"
#include "core/rounding.h"
#include "graph/data/plot_model.h"
#include "graph/data/series_statistics.h"

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
