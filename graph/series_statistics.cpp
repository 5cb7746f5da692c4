#include "graph/series_statistics.h"

#include "graph/plot_model.h"

#include <cmath>

namespace plotwell {

void ValueStatistics::Add(const tptsarr& points)
{
    series_.push_back(&points);
    points_ += static_cast<std::int64_t>(points.size());
    // In locals, so the sums stay in registers rather than going through memory per value.
    std::int64_t count = count_;
    double min = min_;
    double max = max_;
    double sum = sum_;
    long double singleSum = singleSum_;
    for (const tpt& p : points) {
        if (IsNullPoint(p))
            continue;
        if (count == 0) {
            min = max = p.y;
        } else {
            if (p.y < min)
                min = p.y;
            if (p.y > max)
                max = p.y;
        }
        ++count;
        sum += p.y;
        singleSum += static_cast<float>(p.y);
    }
    count_ = count;
    min_ = min;
    max_ = max;
    sum_ = sum;
    singleSum_ = singleSum;
}

double ValueStatistics::StandardDeviation() const
{
    if (count_ < 2)
        return novalue;
    const long double mean = singleSum_ / static_cast<long double>(count_);
    long double total = 0;
    for (const tptsarr* s : series_)
        total += SquaredDeviations(*s, mean);
    return SampleDeviation(total, count_);
}

ValueStatistics DisplayedStatistics(const PlotModel& model)
{
    ValueStatistics stats;
    for (int n = 1; n <= model.NumberOfSeries(); ++n)
        if (model.SeriesDisplay(n))
            stats.Add(model.seriesarr()[static_cast<std::size_t>(n - 1)]);
    return stats;
}

long double SquaredDeviations(const tptsarr& points, long double mean)
{
    long double total = 0;
    for (const tpt& p : points) {
        if (IsNullPoint(p))
            continue;
        const long double d = static_cast<long double>(static_cast<float>(p.y)) - mean;
        total += d * d;
    }
    return total;
}

double SampleDeviation(long double totalVariance, std::int64_t n)
{
    const float total = static_cast<float>(totalVariance);
    const float variance = static_cast<float>(static_cast<long double>(total) / static_cast<long double>(n - 1));
    return static_cast<double>(static_cast<float>(std::sqrt(static_cast<long double>(variance))));
}

} // namespace plotwell
