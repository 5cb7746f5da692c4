#include "graph/data/series_index_cache.h"

namespace plotwell {

const SeriesIndex& SeriesIndexCache::For(int seriesnum, const PointList& points, const std::function<void()>& checkpoint)
{
    const std::lock_guard lock(mutex_);
    Entry& entry = entries_[static_cast<std::size_t>(seriesnum - 1)];
    if (!entry.built || entry.data != points.Storage() || entry.size != points.size()) {
        entry.index = SeriesIndex(); // the old blocks go before the new ones are made
        entry.index = SeriesIndex(points, checkpoint);
        entry.built = true;
        entry.data = points.Storage();
        entry.size = points.size();
    }
    return entry.index;
}

std::shared_ptr<const StackIndex> SeriesIndexCache::Stacks(const SeriesList& series, std::uint32_t shown, bool byX)
{
    std::vector<std::pair<const double*, std::size_t>> arrays;
    arrays.reserve(series.size());
    for (const PointList& points : series)
        arrays.emplace_back(points.Storage(), points.size());
    const std::lock_guard lock(mutex_);
    StackEntry& entry = stacks_;
    if (!entry.built || entry.arrays != arrays || entry.index->Shown() != shown || entry.index->ByX() != byX) {
        entry.index.reset(); // the old index goes before the new one is made, unless a drawing holds it
        entry.index = std::make_shared<const StackIndex>(series, shown, byX);
        entry.arrays = std::move(arrays);
        entry.built = true;
    }
    return entry.index;
}

void SeriesIndexCache::Clear()
{
    const std::lock_guard lock(mutex_);
    entries_ = {};
    stacks_ = {};
}

std::size_t SeriesIndexCache::MemoryBytes() const
{
    const std::lock_guard lock(mutex_);
    std::size_t bytes = 0;
    for (const Entry& entry : entries_)
        bytes += entry.index.MemoryBytes();
    return bytes + (stacks_.index ? stacks_.index->MemoryBytes() : 0);
}

} // namespace plotwell
