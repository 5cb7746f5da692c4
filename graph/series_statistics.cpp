#include "graph/series_statistics.h"

#include <cmath>

namespace plotwell {

void ValueStatistics::Add(const tptsarr& points)
{
    points_ += static_cast<std::int64_t>(points.size());
    for (const tpt& p : points) {
        if (IsNullPoint(p))
            continue;
        if (count_ == 0) {
            min_ = max_ = p.y;
        } else {
            if (p.y < min_)
                min_ = p.y;
            if (p.y > max_)
                max_ = p.y;
        }
        ++count_;
        sum_ += p.y;
        singleSum_ += static_cast<float>(p.y);
    }
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
