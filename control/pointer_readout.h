#pragma once
// The pointer readout: the data coordinates under the pointer, as two grey lines near the
// bottom-left corner of the plotting surface, computed from the geometry of the last drawing.

#include "graph/draw/drawing_result.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

namespace plotwell {

class PlotModel;
class Canvas;

struct ReadoutText
{
    QString line1; // "x: 3.1416", or the date alone for a dated series
    QString line2; // "y: 2.5000"
};

// The lines for a pointer at `pos` on the surface drawn with `geometry`; none without axes.
std::optional<ReadoutText> ReadoutLines(const PlotModel& model, const PlotGeometry& geometry, QPoint pos);

// Writes the readout into the surface's picture and remembers where, so that the next lines
// first clear the old ones: a shorter value must never show the tail of a longer one.
class PointerReadout
{
public:
    // Draws the lines for `pos`; `controlHeight` places them (the control's height, not the
    // surface's). Returns the rectangle of the surface that changed, empty when none.
    QRect Show(const PlotModel& model, const PlotGeometry& geometry, Canvas& canvas, QPoint pos, int controlHeight);

    // A new drawing covered the old readout.
    void Forget() { shown_ = QRect(); }

private:
    QRect shown_;
};

} // namespace plotwell
