#pragma once
// Statistics over runs of Y values: min, max, average and the sample standard deviation
// computed the way the status line reports it (single-precision steps).

#include "graph/data/series_types.h"

#include <cstdint>
#include <vector>

namespace plotwell {

class PlotModel;

// Accumulates the non-null Y values of one or more series in order. It keeps the series for
// a second pass, so it must not outlive them.
class ValueStatistics
{
public:
    // The points [first, last) of a series (all of them by default).
    void Add(const PointList& points, std::size_t first = 0, std::size_t last = SIZE_MAX);

    std::int64_t Points() const { return points_; }
    std::int64_t Values() const { return count_; }
    double Min() const { return count_ ? min_ : novalue; }
    double Max() const { return count_ ? max_ : novalue; }
    // Finite for any finite values: when their sum overflows, a second pass sums them scaled.
    double Average() const;
    // Second pass over the series: the sample standard deviation, or novalue for fewer than
    // two values. Never negative, and finite for any finite values: beyond what the
    // single-precision steps hold, it is computed in double precision on scaled values.
    double StandardDeviation() const;

private:
    // The power of two that brings every value into [-1, 1].
    int Scale() const;
    // The mean of the values times 2^-scale.
    long double ScaledMean(int scale) const;
    double WideDeviation() const;

    struct Run
    {
        const PointList* points;
        std::size_t first, last;
    };
    std::vector<Run> series_;
    std::int64_t points_ = 0;
    std::int64_t count_ = 0;
    double min_ = 0;
    double max_ = 0;
    double sum_ = 0;
    long double singleSum_ = 0; // sum of the values rounded to single precision
    friend double SampleDeviation(long double totalVariance, std::int64_t n);
};

// sqrt(totalVariance / (n - 1)), each step rounded to single precision.
double SampleDeviation(long double totalVariance, std::int64_t n);

// Sum of (float(y) - mean)^2 over the non-null values of the points [first, last) of a series.
long double SquaredDeviations(const PointList& points, std::size_t first, std::size_t last, long double mean);

// The displayed series of a model, in order: the ones its status line reports.
std::vector<const PointList*> DisplayedSeries(const PlotModel& model);

// The statistics of the displayed series of a model.
ValueStatistics DisplayedStatistics(const PlotModel& model);

} // namespace plotwell
