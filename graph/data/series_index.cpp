#include "graph/data/series_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace plotwell {

namespace {

constexpr std::size_t F = SeriesIndex::kFanOut;
// A building index looks up from its work every 2^20 points.
constexpr std::size_t kCheckpointMask = (std::size_t(1) << 20) - 1;

// |a - b| as the upper half of a float's bits, never below it; infinity for infinite or NaN
// steps. Halves of non-negative floats order as their values do.
std::uint16_t StepUp(double a, double b)
{
    const double step = std::fabs(a - b);
    if (!(step <= std::numeric_limits<float>::max()))
        return std::bit_cast<std::uint32_t>(std::numeric_limits<float>::infinity()) >> 16;
    const float up = static_cast<float>(step);
    std::uint32_t bits = std::bit_cast<std::uint32_t>(up);
    if (static_cast<double>(up) < step)
        ++bits; // the next float up: the bits of non-negative floats order as their values

    return static_cast<std::uint16_t>((bits >> 16) + ((bits & 0xFFFF) != 0));
}

double StepValue(std::uint16_t half)
{
    return static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(half) << 16));
}

} // namespace

// The extremes of a sequence of points and nodes, taken as a walk through the points would
// take them: on equal values the earlier point is kept. Remembers the first and the last
// element that holds a plotted point, to find those points afterwards.
class SeriesIndex::Summary
{
public:
    bool Any() const { return any_; }
    const Node& Extremes() const { return node_; }
    Element First() const { return first_; }
    Element Last() const { return last_; }

    // An element after all those so far.
    void Append(Element e, const Node& n)
    {
        if (Start(e, n))
            return;
        if (n.maxY > node_.maxY)
            node_.maxY = n.maxY, node_.highest = n.highest;
        if (n.minY < node_.minY)
            node_.minY = n.minY, node_.lowest = n.lowest;
        last_ = e;
    }
    // An element before all those so far.
    void Prepend(Element e, const Node& n)
    {
        if (Start(e, n))
            return;
        if (n.maxY >= node_.maxY)
            node_.maxY = n.maxY, node_.highest = n.highest;
        if (n.minY <= node_.minY)
            node_.minY = n.minY, node_.lowest = n.lowest;
        first_ = e;
    }
    // The elements of `later` after these.
    void Append(const Summary& later)
    {
        if (!later.any_)
            return;
        const Element last = later.last_;
        Append(later.first_, later.node_);
        last_ = last;
    }

private:
    // Takes the element when it is the first plotted one; true when nothing more is to be done.
    bool Start(Element e, const Node& n)
    {
        if (n.lowest == kNone)
            return true;
        if (any_)
            return false;
        any_ = true;
        node_ = n;
        first_ = last_ = e;
        return true;
    }

    bool any_ = false;
    Node node_{0, 0, kNone, kNone};
    Element first_{-1, 0}, last_{-1, 0};
};

SeriesIndex::SeriesIndex(const PointList& points, const std::function<void()>& checkpoint)
    : range_(RangeOfSeries(points))
{
    const std::size_t n = points.size();
    if (n >= kNone)
        return;
    for (std::size_t from = 0; from < n; from += kCheckpointMask + 1) {
        if (checkpoint && from > 0)
            checkpoint();
        const std::size_t to = std::min(n, from + kCheckpointMask + 1);
        if (points.IsCompact()) {
            // X is the position, in order by itself: only a NaN Y stops the blocks.
            const double* y = points.Storage();
            bool nan = false;
            for (std::size_t i = from; i < to; ++i)
                nan |= y[i] != y[i];
            if (nan)
                return;
            continue;
        }
        // NaN fails both tests: a NaN X breaks the order, a NaN Y would be a run's extreme
        // only by coming first.
        for (std::size_t i = from; i < to; ++i)
            if ((i > 0 && !(points[i].x >= points[i - 1].x)) || points[i].y != points[i].y)
                return;
    }
    hasBlocks_ = true;
    BuildLevels(points, checkpoint);
}

void SeriesIndex::BuildLevels(const PointList& points, const std::function<void()>& checkpoint)
{
    const std::size_t n = points.size();
    if (n <= F)
        return; // a run is summed up from its points alone
    std::vector<Node> blocks((n + F - 1) / F);
    std::vector<std::uint16_t> blockSteps(blocks.size(), 0);
    sums_.assign((n + kSumSpan - 1) / kSumSpan, 0.0);
    counts_.assign(sums_.size(), 0);
    bool plotted = false; // a plotted point came before
    double previous = 0;  // its Y
    for (std::size_t j = 0; j < blocks.size(); ++j) {
        if (checkpoint && ((j * F) & kCheckpointMask) == 0 && j > 0)
            checkpoint();
        Summary summary;
        std::uint16_t step = 0;
        // A block lies in one group of sums (F divides kSumSpan); its sum is added in point
        // order, in a register rather than through memory.
        const std::size_t group = j * F / kSumSpan;
        double sum = sums_[group];
        auto count = counts_[group];
        for (std::size_t i = j * F; i < std::min(n, (j + 1) * F); ++i) {
            const double y = points.Y(i);
            if (IsNullValue(y))
                continue;
            sum += y;
            ++count;
            summary.Append({-1, i}, Node{y, y, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)});
            if (plotted)
                step = std::max(step, StepUp(y, previous));
            plotted = true;
            previous = y;
        }
        sums_[group] = sum;
        counts_[group] = count;
        blocks[j] = summary.Extremes();
        blockSteps[j] = step;
    }
    levels_.push_back(std::move(blocks));
    steps_.push_back(std::move(blockSteps));
    while (levels_.back().size() > F) {
        const std::vector<Node>& below = levels_.back();
        const std::vector<std::uint16_t>& belowSteps = steps_.back();
        std::vector<Node> nodes((below.size() + F - 1) / F);
        std::vector<std::uint16_t> nodeSteps(nodes.size(), 0);
        for (std::size_t j = 0; j < nodes.size(); ++j) {
            Summary summary;
            for (std::size_t i = j * F; i < std::min(below.size(), (j + 1) * F); ++i) {
                summary.Append({0, i}, below[i]);
                nodeSteps[j] = std::max(nodeSteps[j], belowSteps[i]);
            }
            nodes[j] = summary.Extremes();
        }
        levels_.push_back(std::move(nodes));
        steps_.push_back(std::move(nodeSteps));
    }
}

SeriesIndex::Parts SeriesIndex::Decompose(std::size_t a, std::size_t b) const
{
    // From both ends inwards, a level up as soon as the rest is whole nodes of the next one.
    Parts parts;
    std::size_t lo = a;
    std::size_t hi = b;
    for (int level = -1; lo < hi; ++level) {
        const bool top = level + 1 == static_cast<int>(levels_.size());
        for (; lo < hi && (top || lo % F != 0); ++lo)
            parts.left[parts.leftCount++] = Element{level, lo};
        for (; lo < hi && hi % F != 0; --hi)
            parts.right[parts.rightCount++] = Element{level, hi - 1};
        lo /= F;
        hi /= F;
    }
    return parts;
}

SeriesIndex::Run SeriesIndex::Extremes(const PointList& points, std::size_t a, std::size_t b) const
{
    const auto node = [&](Element e) {
        if (e.level >= 0)
            return levels_[static_cast<std::size_t>(e.level)][e.index];
        const double y = points[e.index].y;
        const auto at = static_cast<std::uint32_t>(e.index);
        return IsNullValue(y) ? Node{0, 0, kNone, kNone} : Node{y, y, at, at};
    };
    const Parts parts = Decompose(a, b);
    Summary left, right;
    for (std::size_t k = 0; k < parts.leftCount; ++k)
        left.Append(parts.left[k], node(parts.left[k]));
    for (std::size_t k = 0; k < parts.rightCount; ++k)
        right.Prepend(parts.right[k], node(parts.right[k]));
    left.Append(right);
    Run run;
    if (!left.Any())
        return run;
    run.any = true;
    run.first = FirstPlotted(points, left.First().level, left.First().index);
    run.last = LastPlotted(points, left.Last().level, left.Last().index);
    run.lowest = left.Extremes().lowest;
    run.highest = left.Extremes().highest;
    run.minY = left.Extremes().minY;
    run.maxY = left.Extremes().maxY;
    return run;
}

std::size_t SeriesIndex::FirstPlotted(const PointList& points, int level, std::size_t i) const
{
    for (; level >= 0; --level) {
        // The first child holding a plotted point.
        std::size_t child = i * F;
        if (level == 0) {
            while (IsNullPoint(points[child]))
                ++child;
        } else {
            while (levels_[static_cast<std::size_t>(level - 1)][child].lowest == kNone)
                ++child;
        }
        i = child;
    }
    return i;
}

std::size_t SeriesIndex::LastPlotted(const PointList& points, int level, std::size_t i) const
{
    for (; level >= 0; --level) {
        const std::size_t below = level == 0 ? points.size() : levels_[static_cast<std::size_t>(level - 1)].size();
        std::size_t child = std::min(below, (i + 1) * F) - 1;
        if (level == 0) {
            while (IsNullPoint(points[child]))
                --child;
        } else {
            while (levels_[static_cast<std::size_t>(level - 1)][child].lowest == kNone)
                --child;
        }
        i = child;
    }
    return i;
}

bool SeriesIndex::MapsInOrder(const PointList& points, const PlotMapping& map, bool rows) const
{
    // The scaling is monotonic, so finite fractions at the ends of the values mean finite ones
    // between them.
    const auto finite = [](double v) { return std::isfinite(v); };
    const bool columns = hasBlocks_ && !points.empty() && map.Area().xwid > 0 &&
                         finite(map.X().Fraction(points.front().x)) && finite(map.X().Fraction(points.back().x));
    return columns && (!rows || (finite(map.Y().Fraction(range_.minY)) && finite(map.Y().Fraction(range_.maxY))));
}

SeriesIndex::Bounds SeriesIndex::BoundsOf(const PointList& points, std::size_t a, std::size_t b) const
{
    const Parts parts = Decompose(a, b);
    Bounds bounds;
    const auto take = [&](double minY, double maxY, double step) {
        if (!bounds.any) {
            bounds.any = true;
            bounds.minY = minY;
            bounds.maxY = maxY;
        } else {
            bounds.minY = std::min(bounds.minY, minY);
            bounds.maxY = std::max(bounds.maxY, maxY);
        }
        bounds.largestStep = std::max(bounds.largestStep, step);
    };
    const auto element = [&](Element e) {
        if (e.level >= 0) {
            const Node& node = levels_[static_cast<std::size_t>(e.level)][e.index];
            if (node.lowest != kNone)
                take(node.minY, node.maxY, StepValue(steps_[static_cast<std::size_t>(e.level)][e.index]));
            return;
        }
        const std::size_t i = e.index;
        const double y = points[i].y;
        if (IsNullValue(y))
            return;
        // The step into the run's first point lies outside it; after a gap, the plotted point
        // before is not at hand.
        double step = 0;
        if (i != a)
            step = IsNullPoint(points[i - 1]) ? std::numeric_limits<double>::infinity() : StepValue(StepUp(y, points[i - 1].y));
        take(y, y, step);
    };
    for (std::size_t k = 0; k < parts.leftCount; ++k)
        element(parts.left[k]);
    for (std::size_t k = 0; k < parts.rightCount; ++k)
        element(parts.right[k]);
    return bounds;
}

std::size_t SeriesIndex::MemoryBytes() const
{
    std::size_t bytes = sizeof(*this) + levels_.capacity() * sizeof(std::vector<Node>) +
                        steps_.capacity() * sizeof(std::vector<std::uint16_t>) + sums_.capacity() * sizeof(double) +
                        counts_.capacity();
    for (const std::vector<Node>& level : levels_)
        bytes += level.capacity() * sizeof(Node);
    for (const std::vector<std::uint16_t>& level : steps_)
        bytes += level.capacity() * sizeof(std::uint16_t);
    return bytes;
}

} // namespace plotwell
