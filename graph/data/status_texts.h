#pragma once
// The statistics texts of the main window: the status line and the per-series summary lines.

#include <QString>
#include <QStringList>

namespace plotwell {

class PlotModel;
struct PlotView;

// " 1,234 pts    Min: 1    Max: 10    Avg: 5.1235    Std Dev: 2.346", or "0 points".
QString StatusLineText(const PlotModel& model);

// The same for the displayed points inside a view's X range, after "In view: "
// ("In view:  1,204 pts    Min: ..."); StatusLineText itself without an X range.
QString StatusLineText(const PlotModel& model, const PlotView& view);

// One line per displayed series, without line ends:
// "Series 2:     4 pts    Min: 90    Max: 140    Avg: 111.25    Std Dev: 21.747".
QStringList SummaryLines(const PlotModel& model);

} // namespace plotwell
