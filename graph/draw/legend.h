#pragma once
// The legend of series names at the top right of the surface.

#include "graph/data/series_types.h"

#include <QRect>
#include <QString>

namespace plotwell {

class PlotModel;
class Canvas;

// One line per displayed series, each in its colour with its marker before it on a line or
// curve graph; as wide as the longest name of all series needs. Nothing for a pie or a lone
// series.
void DrawLegend(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth);

// The pixels the legend DrawLegend draws covers, markers included; empty when the options hide
// it or it has no line. Leaves the canvas's tools as they were.
QRect LegendBox(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth);

// The series' name, or "Series n" when it has none.
QString SeriesLabel(const PlotModel& model, int n);

} // namespace plotwell
