#pragma once
// The types and special values of the series store.

#include "graph/data/point_list.h"

#include <QString>

#include <vector>

namespace plotwell {

using SeriesList = std::vector<PointList>; // all series; element 0 is series 1

enum GraphKind { kLineGraph, kBarGraph, kStackedGraph, kCurveGraph, kPieGraph };

struct SeriesInfo
{
    QString name;        // at most 60 characters
    bool xydata = false; // every point had its own X (or was a null point)
    bool isdates = false; // X values are day numbers
};

inline constexpr int maxseries = 8;
inline constexpr bool IsSeriesNumber(int n)
{
    return n >= 1 && n <= maxseries;
}
inline constexpr double nullvalue = -1e13;
inline constexpr double novalue = -999999999.0;
inline constexpr int maxnamelength = 60;

// A null point is a gap: it keeps its position but takes part in no statistic or drawing.
// (A tolerance of 0.0001 is below the spacing of doubles near 1e13, so only the exact value
// can match.)
inline bool IsNullValue(double v)
{
    return v == nullvalue;
}

inline bool IsNullPoint(const DataPoint& p)
{
    return IsNullValue(p.y);
}

} // namespace plotwell
