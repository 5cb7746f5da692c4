#include "graph/data/series_statistics.h"

#include "graph/data/plot_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plotwell {

void ValueStatistics::Add(const PointList& points, std::size_t first, std::size_t last)
{
    last = std::min(last, points.size());
    first = std::min(first, last);
    series_.push_back(Run{&points, first, last});
    points_ += static_cast<std::int64_t>(last - first);
    // In locals, so the sums stay in registers rather than going through memory per value.
    std::int64_t count = count_;
    double min = min_;
    double max = max_;
    double sum = sum_;
    long double singleSum = singleSum_;
    for (std::size_t i = first; i < last; ++i) {
        const double y = points.Y(i);
        if (IsNullValue(y))
            continue;
        if (count == 0) {
            min = max = y;
        } else {
            if (y < min)
                min = y;
            if (y > max)
                max = y;
        }
        ++count;
        sum += y;
        singleSum += static_cast<float>(y);
    }
    count_ = count;
    min_ = min;
    max_ = max;
    sum_ = sum;
    singleSum_ = singleSum;
}

int ValueStatistics::Scale() const
{
    const double largest = std::max(std::fabs(min_), std::fabs(max_));
    return largest > 0 ? std::ilogb(largest) + 1 : 0;
}

long double ValueStatistics::ScaledMean(int scale) const
{
    long double sum = 0;
    for (const Run& s : series_)
        for (std::size_t i = s.first; i < s.last; ++i)
            if (const double y = s.points->Y(i); !IsNullValue(y))
                sum += std::ldexp(static_cast<long double>(y), -scale);
    return sum / static_cast<long double>(count_);
}

double ValueStatistics::Average() const
{
    if (count_ == 0)
        return novalue;
    if (std::isfinite(sum_))
        return sum_ / static_cast<double>(count_);
    const int scale = Scale();
    const double average = static_cast<double>(std::ldexp(ScaledMean(scale), scale));
    return std::clamp(average, min_, max_);
}

double ValueStatistics::StandardDeviation() const
{
    if (count_ < 2)
        return novalue;
    // Values beyond single precision become infinite there; so may the total of large deviations.
    if (std::max(std::fabs(min_), std::fabs(max_)) <= std::numeric_limits<float>::max()) {
        const long double mean = singleSum_ / static_cast<long double>(count_);
        long double total = 0;
        for (const Run& s : series_)
            total += SquaredDeviations(*s.points, s.first, s.last, mean);
        const double deviation = SampleDeviation(total, count_);
        if (std::isfinite(deviation))
            return deviation;
    }
    return WideDeviation();
}

// The deviation of the values scaled into [-1, 1], so neither the sums nor the squares can
// overflow, then scaled back.
double ValueStatistics::WideDeviation() const
{
    const int scale = Scale();
    const long double mean = ScaledMean(scale);
    long double total = 0;
    for (const Run& s : series_)
        for (std::size_t i = s.first; i < s.last; ++i)
            if (const double y = s.points->Y(i); !IsNullValue(y)) {
                const long double d = std::ldexp(static_cast<long double>(y), -scale) - mean;
                total += d * d;
            }
    const long double deviation = std::sqrt(total / static_cast<long double>(count_ - 1));
    // Values of opposite signs near the largest double may spread further than a double holds.
    return static_cast<double>(std::min(std::ldexp(deviation, scale),
                                        static_cast<long double>(std::numeric_limits<double>::max())));
}

std::vector<const PointList*> DisplayedSeries(const PlotModel& model)
{
    std::vector<const PointList*> displayed;
    for (int n = 1; n <= model.NumberOfSeries(); ++n)
        if (model.SeriesDisplay(n))
            displayed.push_back(&model.AllSeries()[static_cast<std::size_t>(n - 1)]);
    return displayed;
}

ValueStatistics DisplayedStatistics(const PlotModel& model)
{
    ValueStatistics stats;
    for (const PointList* series : DisplayedSeries(model))
        stats.Add(*series);
    return stats;
}

long double SquaredDeviations(const PointList& points, std::size_t first, std::size_t last, long double mean)
{
    long double total = 0;
    for (std::size_t i = first; i < last; ++i) {
        const double y = points.Y(i);
        if (IsNullValue(y))
            continue;
        const long double d = static_cast<long double>(static_cast<float>(y)) - mean;
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
