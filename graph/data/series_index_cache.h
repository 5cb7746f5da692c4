#pragma once
// SeriesIndexCache: the drawing index of each series of a store, built when a drawing first
// asks for it and kept until the series change. A drawing on another thread may ask for an
// index while the interface thread does: one builds it, the other waits for it.

#include "graph/data/series_index.h"
#include "graph/data/series_index_stacks.h"
#include "graph/data/series_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace plotwell {

class SeriesIndexCache
{
public:
    // The index of series n (1..8), whose points are `points`. An index built from another
    // array or another length (a series replaced without Clear) is built again. The index
    // stays where it is until Clear, or until For is asked about other points of series n.
    const SeriesIndex& For(int seriesnum, const PointList& points, const std::function<void()>& checkpoint = {});
    // The stacks of the displayed series `shown` (bit n - 1 for series n), built again when the
    // displayed series or the arrays change.
    // Shared, because a drawing on another thread may ask for other series at the same time:
    // each keeps the one it was given for as long as it draws.
    std::shared_ptr<const StackIndex> Stacks(const SeriesList& series, std::uint32_t shown, bool byX);
    // The series changed: every index is out of date.
    void Clear();
    std::size_t MemoryBytes() const;

private:
    struct Entry
    {
        bool built = false;
        const double* data = nullptr;
        std::size_t size = 0;
        SeriesIndex index;
    };
    mutable std::mutex mutex_;
    std::array<Entry, maxseries> entries_;
    struct StackEntry
    {
        bool built = false;
        std::vector<std::pair<const double*, std::size_t>> arrays;
        std::shared_ptr<const StackIndex> index;
    };
    StackEntry stacks_;
};

} // namespace plotwell
