#pragma once
// The pie graph: the points of one series as slices of a circle labelled with their values,
// under the title and a caption that names the series and its total.

#include "core/color.h"

#include <QString>

namespace plotwell {

class PlotModel;
class Canvas;

// Shown instead of a pie when displayed data is negative.
QString PieNegativeMessage();

// The fill colour of the slice of the point at position j (0-based, null points counted).
RgbColor PieColor(int j);

// The total in the caption: 10 decimals after a "." in any locale, trailing zeros dropped
// down to one digit (4 gives "4.0", 1/3 gives "0.3333333333"). A total beyond the largest
// double (slices of huge values) is written out all the same.
QString PieTotalText(long double total);

// Series n as a pie about the middle of the surface, its radius set by the control's client
// height; slices run counter-clockwise from 3 o'clock, the last point closing the circle.
// Nothing at all for a series of more than 50 points.
void DrawPie(Canvas& canvas, const PlotModel& model, int n, int controlClientHeight);

// The wedge from angle s counter-clockwise to angle e (whole degrees from 3 o'clock) of the
// circle of radius r about (cx, cy), with the pen and brush in force, and its label centred
// outside it in the brush colour on the background colour.
void DrawPieSlice(Canvas& canvas, RgbColor background, int cx, int cy, int r, const QString& label, int s, int e);

} // namespace plotwell
