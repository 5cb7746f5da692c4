#pragma once
// The pure step from data values to pixels: the plot area laid out on the surface and the
// mapping of X and Y values into it.

#include "graph/data/series_types.h"

#include <QtGlobal>

#include <cstddef>

namespace plotwell {

// Pixel positions far outside any surface are held here before they become integers, so no
// value (1e300, a span near 0) can overflow an int.
inline constexpr double kPixelLimit = 1048576.0;

// Round (halves to even) of a pixel position, held within +-kPixelLimit; NaN gives 0.
inline int PixelRound(double position)
{
    if (!(position >= -kPixelLimit)) // also NaN
        position = position != position ? 0.0 : -kPixelLimit;
    else if (position > kPixelLimit)
        position = kPixelLimit;
    // Adding and taking away 1.5 * 2^52 leaves the nearest integer, halves to even, in the
    // default rounding mode; far cheaper than a library call on every point of a series.
    const double shifted = position + 6755399441055744.0;
    return static_cast<int>(shifted - 6755399441055744.0);
}

struct PlotArea
{
    int cornerx = 0; // the Y axis column
    int bottomy = 0; // the bottom row
    int xwid = 0;
    int ywid = 0;
};

// The plot area of a surface of width W and height H.
PlotArea ComputePlotArea(int width, int height);

// The values along one axis: `low` at the near edge, `extent` across the plot (never 0).
class AxisScale
{
public:
    AxisScale() = default;
    // `high` is the value at the far edge; when it equals `low` the extent is 1.
    AxisScale(double low, double high);

    double Low() const { return low_; }
    // high - low, or the largest double when that overflows.
    double Extent() const { return extent_; }
    // The far edge, low + extent (the high end itself when that sum overflows).
    double High() const { return high_; }
    // (v - low) / extent, computed on the values scaled by a power of two that brings the
    // larger end near 1: spans near the double limit stay finite, and subnormal spans keep
    // their precision (halving a subnormal value rounds it).
    double Fraction(double v) const { return (v * scale_ - scaledLow_) / scaledExtent_; }
    double Scale() const { return scale_; }
    double ScaledLow() const { return scaledLow_; }
    double ScaledExtent() const { return scaledExtent_; }

private:
    double low_ = 0;
    double high_ = 1;
    double extent_ = 1;
    double scale_ = 0.5;
    double scaledLow_ = 0;
    double scaledExtent_ = 0.5;
};

class PlotMapping
{
public:
    PlotMapping() = default;
    PlotMapping(const PlotArea& area, const AxisScale& x, const AxisScale& y) : area_(area), x_(x), y_(y) {}

    const PlotArea& Area() const { return area_; }
    const AxisScale& X() const { return x_; }
    const AxisScale& Y() const { return y_; }

    // Round((x - minX) / maxextentX * xwid + cornerx).
    int Column(double x) const { return PixelRound(x_.Fraction(x) * area_.xwid + area_.cornerx); }
    // Round(bottomy - (y - minY) / maxextentY * ywid).
    int Row(double y) const { return RowFrom(area_.bottomy, y); }
    // The same measured up from another row (the X axis row of stacked bars).
    int RowFrom(int base, double y) const { return PixelRound(base - y_.Fraction(y) * area_.ywid); }
    // Column and Row of `count` points at once, the same numbers a point at a time gives
    // (null points get some position; callers skip them).
    void MapPoints(const DataPoint* points, std::size_t count, int* columns, int* rows) const;
    // The same for the points [first, first + count) of a list, in either of its layouts.
    void MapPoints(const PointList& points, std::size_t first, std::size_t count, int* columns, int* rows) const;
    // Tick positions round the offset alone: Round(f * xwid) + cornerx, bottomy - Round(f * ywid).
    int TickColumn(double x) const { return area_.cornerx + PixelRound(x_.Fraction(x) * area_.xwid); }
    int TickRow(double y) const { return area_.bottomy - PixelRound(y_.Fraction(y) * area_.ywid); }

private:
    PlotArea area_;
    AxisScale x_;
    AxisScale y_;
};

// The rounded limit above the largest Y that the pointer readout tests (347 gives 350);
// 1 when the largest Y is 0.
double MaxLimitY(double maxY);

} // namespace plotwell
