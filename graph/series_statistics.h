#pragma once
// Statistics over runs of Y values: min, max, average and the sample standard deviation
// computed the way the status line reports it (single-precision steps).

#include "graph/series_types.h"

#include <cstdint>

namespace plotwell {

// Accumulates the non-null Y values of one or more series in order.
class ValueStatistics
{
public:
    void Add(const tptsarr& points);

    std::int64_t Points() const { return points_; }
    std::int64_t Values() const { return count_; }
    double Min() const { return count_ ? min_ : novalue; }
    double Max() const { return count_ ? max_ : novalue; }
    double Average() const { return count_ ? static_cast<double>(sum_) / static_cast<double>(count_) : novalue; }
    // Second pass over the same series: the sample standard deviation, or novalue for fewer
    // than two values.
    template <typename SeriesRange> double StandardDeviation(const SeriesRange& series) const;

private:
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

// Sum of (float(y) - mean)^2 over the non-null values of a series.
long double SquaredDeviations(const tptsarr& points, long double mean);

template <typename SeriesRange> double ValueStatistics::StandardDeviation(const SeriesRange& series) const
{
    if (count_ < 2)
        return novalue;
    const long double mean = singleSum_ / static_cast<long double>(count_);
    long double total = 0;
    for (const tptsarr* s : series)
        total += SquaredDeviations(*s, mean);
    return SampleDeviation(total, count_);
}

} // namespace plotwell
