#pragma once
// The texts around the plot: the graph title and the two axis labels.

#include "graph/data/series_types.h"

#include <QRect>
#include <QSize>

#include <functional>

namespace plotwell {

class PlotModel;
class Canvas;
struct RenderFrame;

inline constexpr int kTitlePoints = 16;
inline constexpr int kSmallestTitlePoints = 8;
inline constexpr int kTitleTop = 20;
// The least room between the title and the legend.
inline constexpr int kTitleGap = 6;

// Where the title goes and in what size.
struct TitleSpot
{
    int points = kTitlePoints;
    int x = 0;
    int y = kTitleTop;
    int cutTo = -1; // the width to cut the text short to, centred in it; -1 for the whole text
};

// The title's place beside a legend covering `legend` (empty: none), given the size of its
// text at a number of points: centred across the surface at 16 points when it keeps clear of
// the legend there; otherwise centred in the room left of the legend, in the largest size
// from 16 down to 8 points that fits it; failing that, 8 points cut short to that room.
TitleSpot PlaceTitle(int surfaceWidth, const QRect& legend, const std::function<QSize(int points)>& extent);

// The title placed by PlaceTitle, 20 pixels from the surface's top: the model's title, or the
// name of a lone series. Nothing over a pie, which draws its own.
void DrawTitle(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth);

// The X axis label centred under the plot, 20 pixels below the X axis row.
void DrawXLabel(Canvas& canvas, const PlotModel& model, const RenderFrame& frame);

// The Y axis label turned to read upwards, centred on the Y axis, 20 pixels left of the
// widest Y tick label; drawn in the font the Y ticks left.
void DrawYLabel(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int widestTickLabel);

// The face every text of the graph asks for.
inline constexpr const char* kGraphFace = "Segoe UI";

} // namespace plotwell
