#include "graph/data/series_index_stacks.h"

#include <algorithm>
#include <cmath>

namespace plotwell {

namespace {

// The first bin whose lower edge is at or above a, and the last whose upper edge is at or
// below b: the bins a stack from a to b covers.
using Edges = std::array<double, StackIndex::kBins + 1>;

// The edge nearest below v, from where the search for the exact bin starts (v <= edges[kBins]).
int Estimate(const Edges& edges, double v)
{
    const double most = edges[StackIndex::kBins];
    return most > 0 ? std::clamp(static_cast<int>(v / most * StackIndex::kBins), 0, StackIndex::kBins) : 0;
}

int FirstBinFrom(const Edges& edges, double a)
{
    int i = Estimate(edges, a);
    while (i > 0 && edges[static_cast<std::size_t>(i - 1)] >= a)
        --i;
    while (i < StackIndex::kBins && edges[static_cast<std::size_t>(i)] < a)
        ++i;
    return i;
}

int LastBinTo(const Edges& edges, double b)
{
    int i = Estimate(edges, b) - 1;
    while (i + 2 <= StackIndex::kBins && edges[static_cast<std::size_t>(i + 2)] <= b)
        ++i;
    while (i >= 0 && edges[static_cast<std::size_t>(i + 1)] > b)
        --i;
    return i;
}

// Bits lo..hi (none when hi < lo).
std::uint64_t BinBits(int lo, int hi)
{
    if (hi < lo)
        return 0;
    const std::uint64_t upTo = hi >= 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (hi + 1)) - 1;
    return upTo & ~((std::uint64_t{1} << lo) - 1);
}

} // namespace

StackIndex::StackIndex(const SeriesList& series, std::uint32_t shown, bool byX) : byX_(byX), shown_(shown)
{
    const int count = static_cast<int>(series.size());
    for (int n = 1; n <= count && n <= maxseries; ++n) {
        if (!(shown & (1u << (n - 1))))
            continue;
        order_[static_cast<std::size_t>(++layers_)] = n;
        positions_ = std::max(positions_, series[static_cast<std::size_t>(n - 1)].size());
    }
    if (layers_ == 0)
        return;
    // Every displayed series at the same X per position, rising (by position: X is the
    // position); stacked by X, every series of the store, so that its X values are the slots.
    const PointList& first = series[static_cast<std::size_t>(order_[1] - 1)];
    for (int n = 1; n <= count; ++n) {
        const PointList& points = series[static_cast<std::size_t>(n - 1)];
        const bool displayed = shown & (1u << (n - 1));
        if (byX && points.size() != first.size())
            return;
        if (!displayed && !byX)
            continue;
        for (std::size_t j = 0; j < points.size(); ++j) {
            const double x = points.X(j);
            if (byX ? (x != first.X(j) || !std::isfinite(x) || (j > 0 && !(x > points.X(j - 1))))
                    : x != static_cast<double>(j + 1))
                return;
            const double y = points.Y(j);
            if (displayed && !IsNullValue(y) && !(y >= 0))
                return;
        }
    }
    // The totals the axis reaches, added as StackTotals adds them: series by series.
    double all = 0;
    double most = 0;
    std::vector<double> totals(positions_, 0.0);
    std::vector<double> tops(positions_, 0.0);
    for (int n = 1; n <= count; ++n) {
        const PointList& points = series[static_cast<std::size_t>(n - 1)];
        const bool displayed = shown & (1u << (n - 1));
        const std::size_t end = std::min(points.size(), positions_);
        for (std::size_t j = 0; j < end; ++j) {
            const double y = points.Y(j);
            if (IsNullValue(y))
                continue;
            totals[j] = StackSum(totals[j], y);
            if (displayed)
                tops[j] = StackSum(tops[j], y);
        }
    }
    for (std::size_t j = 0; j < positions_; ++j) {
        all = std::max(all, totals[j]);
        most = std::max(most, tops[j]);
    }
    maxTotal_ = std::max(all, most);
    totals = {};
    tops = {};
    for (int i = 0; i <= kBins; ++i)
        edges_[static_cast<std::size_t>(i)] = most * (static_cast<double>(i) / kBins);
    Summarize(series);
    usable_ = true;
}

void StackIndex::Stack(const SeriesList& series, std::size_t j, StackAt& stack) const
{
    Stacks(series, j, j + 1, &stack);
}

void StackIndex::Stacks(const SeriesList& series, std::size_t first, std::size_t last, StackAt* out) const
{
    const std::size_t count = last - first;
    for (std::size_t i = 0; i < count; ++i) {
        out[i].layers = layers_;
        out[i].last = 0;
        out[i].sums[0] = 0;
    }
    // Series by series: each array is read in order.
    for (int k = 1; k <= layers_; ++k) {
        const PointList& points = series[static_cast<std::size_t>(order_[static_cast<std::size_t>(k)] - 1)];
        const std::size_t kk = static_cast<std::size_t>(k);
        const std::size_t end = std::min(last, std::max(first, points.size()));
        for (std::size_t i = 0; i < count; ++i) {
            StackAt& s = out[i];
            s.sums[kk] = s.sums[kk - 1];
            s.drawn[kk] = false;
            if (first + i >= end)
                continue;
            const double y = points.Y(first + i);
            if (IsNullValue(y))
                continue;
            s.sums[kk] = StackSum(s.sums[kk - 1], y);
            if (y != 0) {
                s.drawn[kk] = true;
                s.last = k;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        StackAt& s = out[i];
        double top = s.sums[static_cast<std::size_t>(layers_)];
        for (int k = s.last; k >= 1; --k) {
            if (s.drawn[static_cast<std::size_t>(k)])
                top = s.sums[static_cast<std::size_t>(k)];
            s.firstTop[static_cast<std::size_t>(k)] = top;
        }
    }
}

void StackIndex::Summarize(const SeriesList& series)
{
    const std::size_t blocks = (positions_ + kBlock - 1) / kBlock;
    kinds_.assign(blocks, kEmptyBlock);
    places_.assign(blocks * PlacesPerBlock(), 0);
    covered_.assign(blocks * static_cast<std::size_t>(layers_ - 1), 0);
    const std::size_t n = static_cast<std::size_t>(layers_);
    std::vector<StackAt> stacks(kBlock);
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t begin = b * kBlock;
        const std::size_t end = std::min(positions_, begin + kBlock);
        bool any = false;
        bool summed = true;
        Stacks(series, begin, end, stacks.data());
        for (std::size_t j = begin; j < end; ++j) {
            const StackAt& s = stacks[j - begin];
            any = any || s.last != 0;
            summed = summed && (s.last == 0 || s.last == layers_);
        }
        if (!any)
            continue;
        if (!summed) {
            kinds_[b] = kWalkedBlock;
            continue;
        }
        kinds_[b] = kSummedBlock;
        std::uint8_t* places = &places_[b * PlacesPerBlock()];
        std::uint32_t* covered = covered_.data() + b * (n - 1);
        bool first = true;
        for (std::size_t j = begin; j < end; ++j) {
            const StackAt& s = stacks[j - begin];
            if (s.last == 0)
                continue;
            const auto at = static_cast<std::uint8_t>(j - begin);
            // The first position of the block with the extreme wins ties.
            if (first || s.sums[n] > stacks[places[0]].sums[n])
                places[0] = at;
            for (std::size_t k = 1; k < n; ++k)
                if (first || s.sums[k] < stacks[places[k]].sums[k])
                    places[k] = at;
            for (std::size_t k = 1; k <= n; ++k)
                if (first || s.firstTop[k] < stacks[places[n - 1 + k]].firstTop[k])
                    places[n - 1 + k] = at;
            first = false;
            const int hi = LastBinTo(edges_, s.sums[n]);
            for (std::size_t k = 2; k <= n; ++k)
                covered[k - 2] |= static_cast<std::uint32_t>(BinBits(FirstBinFrom(edges_, s.sums[k - 1]), hi));
        }
    }
}

std::size_t StackIndex::MemoryBytes() const
{
    return sizeof(*this) + kinds_.capacity() + places_.capacity() + covered_.capacity() * sizeof(std::uint32_t);
}

} // namespace plotwell
