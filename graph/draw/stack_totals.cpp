#include "graph/draw/stack_totals.h"

#include "graph/data/plot_model.h"
#include "graph/data/series_index_stacks.h"

#include <algorithm>

namespace plotwell {

namespace {

std::vector<double> DistinctXs(const PlotModel& model)
{
    std::size_t count = 0;
    for (const PointList& points : model.AllSeries())
        count += points.size();
    std::vector<double> xs;
    xs.reserve(count);
    for (const PointList& points : model.AllSeries())
        for (const DataPoint& p : points)
            if (!IsNullPoint(p))
                xs.push_back(p.x);
    // Sorting and merging equal values builds the list in O(n log n); X values are finite, and
    // == merges them only when exactly equal.
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    return xs;
}

double Largest(const std::vector<double>& totals)
{
    double m = 0;
    for (const double t : totals)
        m = std::max(m, t);
    return m;
}

} // namespace

StackTotals::StackTotals(const PlotModel& model, bool byX) : model_(&model), byX_(byX)
{
    MakeSlots();
    const std::size_t slotCount = totals_.size();
    std::vector<double> shown(slotCount, 0.0);
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        const bool displayed = model.SeriesDisplay(n);
        const std::size_t count = byX ? points.size() : std::min(points.size(), slotCount);
        for (std::size_t j = 0; j < count; ++j) {
            const DataPoint& p = points[j];
            if (IsNullPoint(p))
                continue;
            const std::size_t slot = Slot(j, p.x);
            totals_[slot] = Add(totals_[slot], p.y);
            if (displayed)
                shown[slot] = Add(shown[slot], p.y);
        }
    }
    maxTotal_ = std::max(Largest(totals_), Largest(shown));
    std::fill(totals_.begin(), totals_.end(), 0.0);
    hint_ = 0;
}

StackTotals::StackTotals(const PlotModel& model, bool byX, std::shared_ptr<const StackIndex> index)
{
    if (!index || !index->Usable()) {
        *this = StackTotals(model, byX);
    } else {
        maxTotal_ = index->MaxTotal();
        model_ = &model;
        byX_ = byX;
    }
    index_ = std::move(index);
}

void StackTotals::MakeSlots()
{
    const PlotModel& model = *model_;
    model_ = nullptr;
    std::size_t slotCount = 0;
    if (byX_) {
        xs_ = DistinctXs(model);
        slotCount = xs_.size();
    } else {
        // Positions that only hidden series reach carry no bar.
        for (int n = 1; n <= model.NumberOfSeries(); ++n)
            if (model.SeriesDisplay(n))
                slotCount = std::max(slotCount, model.AllSeries()[static_cast<std::size_t>(n - 1)].size());
    }
    totals_.assign(slotCount, 0.0);
}

std::size_t StackTotals::Slot(std::size_t position, double x)
{
    if (model_)
        MakeSlots();
    if (xs_.empty()) {
        if (position >= totals_.size()) // a position no displayed series reaches
            totals_.resize(position + 1, 0.0);
        return position;
    }
    if (hint_ < xs_.size() && xs_[hint_] == x)
        return hint_;
    if (hint_ + 1 < xs_.size() && xs_[hint_ + 1] == x)
        return ++hint_;
    const auto found = std::lower_bound(xs_.begin(), xs_.end(), x);
    hint_ = static_cast<std::size_t>(std::min(found, xs_.end() - 1) - xs_.begin());
    return hint_;
}

double StackTotals::Add(double a, double b)
{
    return StackSum(a, b);
}

} // namespace plotwell
