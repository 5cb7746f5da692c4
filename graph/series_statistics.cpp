#include "graph/series_statistics.h"

#include <cmath>

namespace plotwell {

void ValueStatistics::Add(const tptsarr& points)
{
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
