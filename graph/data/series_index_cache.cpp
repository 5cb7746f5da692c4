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

void SeriesIndexCache::Clear()
{
    const std::lock_guard lock(mutex_);
    entries_ = {};
}

std::size_t SeriesIndexCache::MemoryBytes() const
{
    const std::lock_guard lock(mutex_);
    std::size_t bytes = 0;
    for (const Entry& entry : entries_)
        bytes += entry.index.MemoryBytes();
    return bytes;
}

} // namespace plotwell
