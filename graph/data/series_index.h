#pragma once
// SeriesIndex: what a redraw needs of one series without walking its points: the extremes of
// its plotted points and, for a series in X order, the lowest and highest Y of every block of
// points in a few levels, so that any run of points is summed up in a few lookups.

#include "graph/data/plot_mapping.h"
#include "graph/data/series_types.h"
#include "graph/data/value_range.h"

#include <array>
#include <cstddef>
#include <functional>
#include <cstdint>
#include <vector>

namespace plotwell {

class SeriesIndex
{
public:
    // The plotted points of one run of the series.
    struct Run
    {
        bool any = false;                     // the run holds a plotted point
        std::size_t first = 0, last = 0;      // the first and the last plotted point
        std::size_t lowest = 0, highest = 0;  // the first point with the smallest, the largest Y
        double minY = 0, maxY = 0;
    };

    SeriesIndex() = default;
    // Walks the points; builds the blocks only for a series that can use them. `checkpoint`,
    // when given, is called every million points or so and may throw to stop the building.
    explicit SeriesIndex(const PointList& points, const std::function<void()>& checkpoint = {});

    const SeriesRange& Range() const { return range_; }
    // Runs can be summed up through the index: the points are in X order (no NaN X), no Y is
    // NaN, and they are fewer than 2^32. (Up to kFanOut points need no blocks.)
    bool HasBlocks() const { return hasBlocks_; }
    // The run of points [a, b) of the series the index was built from (a < b); HasBlocks() only.
    Run Extremes(const PointList& points, std::size_t a, std::size_t b) const;
    // The index's searches take the pixel columns (with `rows`, also the rows) of the points to
    // follow their order. They do not when a position comes out as NaN, drawn at 0: from an
    // infinite X or Y, an infinite scale or a plot of no width; such a series is walked.
    bool MapsInOrder(const PointList& points, const PlotMapping& map, bool rows) const;
    // The smallest and largest Y of the run [a, b) (a < b), and the largest difference
    // between the Y of consecutive plotted points of it, or more than that (infinity when a
    // gap makes it unknown); HasBlocks() only. Cheaper than Extremes: no point is looked for.
    // A run whose steps all map to less than one row hits every row from its top to its bottom.
    struct Bounds
    {
        bool any = false;
        double minY = 0, maxY = 0;
        double largestStep = 0;
    };
    Bounds BoundsOf(const PointList& points, std::size_t a, std::size_t b) const;
    // Calls visit(from, to) for runs of points [from, to) within [begin, end) that hold every
    // plotted point of it (HasBlocks() only), null points among them, but those under the
    // nodes for which skip(first, last, lowest, highest) holds: [first, last] are the node's
    // points, plotted or not, lowest and highest its plotted points of the smallest and the
    // largest Y. Only nodes wholly inside [begin, end) are offered to skip. The runs come in
    // order.
    template <typename Skip, typename Visit>
    void VisitPoints(const PointList& points, std::size_t begin, std::size_t end, Skip&& skip, Visit&& visit) const;
    // The sum of the plotted Y of group g, the points [g * kSumSpan, (g + 1) * kSumSpan),
    // added from 0 in order, and how many they are; HasBlocks() and more than kFanOut points.
    double GroupSum(std::size_t g) const { return sums_[g]; }
    int GroupCount(std::size_t g) const { return counts_[g]; }
    bool HasGroups() const { return !sums_.empty(); }
    // The memory the index holds beside the points.
    std::size_t MemoryBytes() const;

    // Points per block, and blocks per block of the next level.
    static constexpr std::size_t kFanOut = 16;
    // Points per group of the sums.
    static constexpr std::size_t kSumSpan = 64;

private:
    static constexpr std::uint32_t kNone = UINT32_MAX; // a block of null points only

    struct Node
    {
        double minY, maxY;
        std::uint32_t lowest, highest; // the points holding them
    };
    class Summary;
    struct Element
    {
        int level; // -1: a point, else a node of levels_[level]
        std::size_t index;
    };
    // A run cut into points and whole nodes, as few as can be: `left` from its start
    // rightwards, then `right` from its end leftwards.
    struct Parts
    {
        // Fewer than kFanOut per level and side, and 2^32 points need 8 levels.
        static constexpr std::size_t kMost = 2 * kFanOut * 10;
        std::array<Element, kMost> left, right;
        std::size_t leftCount = 0, rightCount = 0;
    };
    Parts Decompose(std::size_t a, std::size_t b) const;

    void BuildLevels(const PointList& points, const std::function<void()>& checkpoint);
    // The first (last) plotted point under node `i` of level `level`.
    std::size_t FirstPlotted(const PointList& points, int level, std::size_t i) const;
    std::size_t LastPlotted(const PointList& points, int level, std::size_t i) const;

    SeriesRange range_{};
    bool hasBlocks_ = false;
    // levels_[0] sums up kFanOut points per node, levels_[k] kFanOut nodes of levels_[k - 1].
    std::vector<std::vector<Node>> levels_;
    // Beside each node, the largest step into one of its plotted points from the plotted
    // point before it (which may lie before the node), rounded up to the upper half of a float.
    std::vector<std::vector<std::uint16_t>> steps_;
    // Per group of kSumSpan points, the sum of its plotted Y (from 0, in order) and their count.
    std::vector<double> sums_;
    std::vector<std::uint8_t> counts_;
};

template <typename Skip, typename Visit>
void SeriesIndex::VisitPoints(const PointList& points, std::size_t begin, std::size_t end, Skip&& skip,
                              Visit&& visit) const
{
    end = std::min(end, points.size());
    if (begin >= end)
        return;
    if (levels_.empty()) {
        visit(begin, end);
        return;
    }
    // Node i of level `level` covers the points [i * span, (i + 1) * span).
    const auto visitNode = [&](const auto& self, int level, std::size_t i, std::size_t span) -> void {
        const Node& node = levels_[static_cast<std::size_t>(level)][i];
        const std::size_t first = i * span;
        const std::size_t last = std::min(points.size(), first + span) - 1;
        if (node.lowest == kNone || last < begin || first >= end)
            return;
        // A node reaching out of the range has extremes that may lie outside it: looked into.
        const bool inside = first >= begin && last < end;
        if (inside && skip(first, last, std::size_t{node.lowest}, std::size_t{node.highest}))
            return;
        if (level == 0) {
            visit(std::max(first, begin), std::min(last + 1, end));
            return;
        }
        const std::size_t below = levels_[static_cast<std::size_t>(level - 1)].size();
        for (std::size_t child = i * kFanOut; child < std::min(below, (i + 1) * kFanOut); ++child)
            self(self, level - 1, child, span / kFanOut);
    };
    std::size_t span = kFanOut;
    for (std::size_t level = 1; level < levels_.size(); ++level)
        span *= kFanOut;
    const int top = static_cast<int>(levels_.size()) - 1;
    for (std::size_t i = 0; i < levels_.back().size(); ++i)
        visitNode(visitNode, top, i, span);
}

} // namespace plotwell
