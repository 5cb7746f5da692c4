#include "graph/draw/bar_series.h"

#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/data/series_index.h"
#include "graph/data/series_index_stacks.h"
#include "graph/draw/stack_totals.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace plotwell {

namespace {

// Each further displayed series of (X,Y) bars stands this far right of the one before.
constexpr int kSeriesShift = 30;

// Rectangles of one colour, drawn as Rectangle draws them. Consecutive bars over the same
// columns whose rows meet set the same pixels as one rectangle around them, when pen and
// brush share the colour: a series of many points to a pixel column then costs one
// rectangle per column instead of one per point.
class BarRun
{
public:
    explicit BarRun(Canvas& canvas)
        : canvas_(canvas),
          mergeable_(canvas.Pen().Width() == 1 && canvas.Brush().Style() == kSolidBrush &&
                     canvas.Pen().Color() == canvas.Brush().Color())
    {
    }
    BarRun(const BarRun&) = delete;
    bool Mergeable() const { return mergeable_; }
    BarRun& operator=(const BarRun&) = delete;

    // Corners in any order; like Rectangle, at least one pixel each way.
    void Add(int x1, int y1, int x2, int y2)
    {
        const CanvasBox box = RectangleBox(x1, y1, x2, y2);
        if (pending_ && mergeable_ && box.left == run_.left && box.right == run_.right && box.top <= run_.bottom &&
            box.bottom >= run_.top) {
            run_.top = std::min(run_.top, box.top);
            run_.bottom = std::max(run_.bottom, box.bottom);
            return;
        }
        Flush();
        run_ = box;
        pending_ = true;
    }

    void Flush()
    {
        if (pending_)
            canvas_.Rectangle(run_.left, run_.top, run_.right, run_.bottom);
        pending_ = false;
    }

private:
    Canvas& canvas_;
    bool mergeable_;
    bool pending_ = false;
    CanvasBox run_{};
};

// Solid bars in the series colour with a one-pixel outline in the pen colour.
void UseBarTools(Canvas& canvas, const PlotModel& model, int n)
{
    canvas.Brush().SetColor(model.Options().SeriesColorOf(n));
    canvas.Pen().SetWidth(1);
}

// Calls draw(j, point) for each point of series n that has a bar (not null, not 0), of its
// span in a view.
template <typename Draw> void ForEachBar(const PlotModel& model, const RenderFrame& frame, int n, Draw&& draw)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    const PointSpan span = DrawnSpan(frame, n, points.size());
    for (std::size_t j = span.first; j < span.last; ++j) {
        const DataPoint& p = points[j];
        if (!IsNullPoint(p) && p.y != 0)
            draw(j, p);
    }
}

// The first position past the group of [a, n) that `key` (never decreasing) gives key(a).
template <typename Key> std::size_t GroupEnd(std::size_t a, std::size_t n, Key&& key)
{
    const int k = key(a);
    std::size_t lo = a + 1;
    std::size_t hi = n;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (key(mid) <= k)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// The first point of the smallest value above 0 in [a, b), which holds one, through the
// blocks of the index whose values are all above 0.
std::pair<std::size_t, double> SmallestAbove0(const PointList& points, const SeriesIndex& index, std::size_t a,
                                              std::size_t b)
{
    std::size_t at = b;
    double smallest = std::numeric_limits<double>::infinity();
    const auto take = [&](std::size_t j, double y) {
        if (y < smallest || (y == smallest && j < at)) {
            smallest = y;
            at = j;
        }
    };
    index.VisitPoints(
        points, a, b,
        [&](std::size_t, std::size_t, std::size_t lowest, std::size_t) {
            const double y = points.Y(lowest);
            if (!(y > 0))
                return false;
            take(lowest, y);
            return true;
        },
        [&](std::size_t from, std::size_t to) {
            for (std::size_t j = from; j < to; ++j) {
                const double y = points.Y(j);
                if (!IsNullValue(y) && y > 0)
                    take(j, y);
            }
        });
    return {at, smallest};
}

// Bars of many points to a pixel column through the drawing index: the bars of one left
// edge all reach the X axis row, so they merge into the one rectangle of their largest and
// smallest value, and only those two are drawn. `left(j)` is the left edge of point j's bar
// (never decreasing with j), `box(j, y)` adds its bar of value y. Only the series' span in a
// view is drawn (the index takes the extremes of any run of points). A zero draws nothing: in
// a group of zeros and values above 0 the smallest above 0 is looked for; a group through 0 is
// walked. False when the index cannot be used.
template <typename Left, typename Box>
bool DrawBarsByColumn(const PlotModel& model, const RenderFrame& frame, int n, const BarRun& run, Left&& left,
                      Box&& box)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    const PointSpan span = DrawnSpan(frame, n, points.size());
    if (!frame.indexed || !run.Mergeable() ||
        span.last - span.first <= 2 * static_cast<std::size_t>(std::max(frame.width, 1)))
        return false;
    const SeriesIndex& index = model.DrawingIndex(n);
    if (!index.MapsInOrder(points, frame.map, true))
        return false;
    for (std::size_t a = span.first; a < span.last;) {
        const std::size_t b = GroupEnd(a, span.last, left);
        const SeriesIndex::Run extremes = index.Extremes(points, a, b);
        if (extremes.any) {
            if (extremes.minY == 0 && extremes.maxY > 0) {
                // Zeros draw nothing: the bars of the other values span those of the largest and
                // of the smallest above 0.
                const auto [at, smallest] = SmallestAbove0(points, index, a, b);
                box(extremes.highest, extremes.maxY);
                box(at, smallest);
            } else if (extremes.minY <= 0 && extremes.maxY >= 0) {
                for (std::size_t j = a; j < b; ++j)
                    if (!IsNullPoint(points[j]) && points[j].y != 0)
                        box(j, points[j].y);
            } else {
                box(extremes.highest, extremes.maxY);
                box(extremes.lowest, extremes.minY);
            }
        }
        a = b;
    }
    return true;
}

// A scale whose positions follow the order of the values.
bool Rising(const AxisScale& scale)
{
    return std::isfinite(scale.Scale()) && scale.Scale() > 0 && std::isfinite(scale.ScaledExtent()) &&
           scale.ScaledExtent() > 0 && std::isfinite(scale.ScaledLow());
}

// Stacked bars of many positions to a pixel column, a column at a time. Every bar is one
// pixel wide there, so each row of a column shows the highest layer some stack draws over
// it: a stack's layers from k up cover the rows from its total down to its total under layer
// k, and the row of the first of them where that is a bar of one pixel. The stacks' index
// gives, per block of positions, where the extremes of those rows lie and which stretches of
// values one stack's layers from k up cover; only those positions and the column's ends are
// read, and a whole block only where rows of a layer stay open that its stacks may reach.
class StackColumns
{
public:
    StackColumns(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, const StackIndex& index)
        : canvas_(canvas), model_(model), frame_(frame), index_(index), series_(model.AllSeries()),
          layers_(index.Layers()), cornery_(frame.cornery)
    {
    }

    // False, before anything is drawn, when the picture cannot be made this way.
    bool Draw()
    {
        const PlotMapping& map = frame_.map;
        const std::size_t positions = index_.Positions();
        if (!index_.Usable() || frame_.viewed || layers_ == 0 ||
            positions <= 2 * static_cast<std::size_t>(std::max(frame_.width, 1)) || !Rising(map.X()) ||
            !Rising(map.Y()) || map.RowFrom(cornery_, 0) != cornery_)
            return false;
        const double xjmp = frame_.xjmp;
        // One pixel wide: the bar's right edge at most one past its left edge.
        int widthPast = 0;
        if (frame_.anyxy)
            widthPast = PixelRound(xjmp / (2.0 * frame_.seriesCount));
        else if (!(xjmp - xjmp / 5 < 1.25))
            return false;
        if (widthPast > 1)
            return false;
        const PointList& first = series_[static_cast<std::size_t>(index_.SeriesOf(1) - 1)];
        const auto column = [&](std::size_t j) {
            return map.Column(frame_.anyxy ? first.X(j) : static_cast<double>(j + 1));
        };
        for (std::size_t a = 0; a < positions;) {
            const std::size_t b = GroupEnd(a, positions, column);
            DrawColumn(a, b, column(a));
            a = b;
        }
        return true;
    }

private:
    struct Layer
    {
        double highest, lowestBase, lowestTop;
        std::uint64_t covered;
    };
    // The extremes of a summed block, from the positions read of it.
    struct BlockBox
    {
        std::size_t first;
        bool read; // every position
        Layer layer[maxseries + 1];
    };
    using Rows = std::pair<int, int>; // [first, second)
    // The rows of a stack read: of its total, of its totals under each layer, and of the
    // first drawn layer from each layer up.
    struct Read
    {
        StackAt stack;
        bool mapped; // the rows are worked out
        int top;
        std::array<int, maxseries + 1> base, firstTop;
    };

    int RowOf(double total) const { return frame_.map.RowFrom(cornery_, total); }
    int BaseRow(double total) const { return total == 0 ? cornery_ : RowOf(total); }

    static void Widen(Layer& layer, const StackAt& s, int k)
    {
        layer.highest = std::max(layer.highest, s.sums[static_cast<std::size_t>(s.layers)]);
        layer.lowestBase = std::min(layer.lowestBase, s.sums[static_cast<std::size_t>(k - 1)]);
        layer.lowestTop = std::min(layer.lowestTop, s.firstTop[static_cast<std::size_t>(k)]);
    }

    void Take(std::size_t j, BlockBox* box = nullptr)
    {
        StackAt s;
        index_.Stack(series_, j, s);
        Take(s, box);
    }

    // The positions [first, last), read series by series.
    void TakeRun(std::size_t first, std::size_t last)
    {
        run_.resize(last - first);
        index_.Stacks(series_, first, last, run_.data());
        for (const StackAt& s : run_)
            Take(s, nullptr);
    }

    void Take(const StackAt& s, BlockBox* box)
    {
        for (int k = 1; k <= s.last; ++k) {
            Widen(layer_[static_cast<std::size_t>(k)], s, k);
            if (box)
                Widen(box->layer[k], s, k);
        }
        if (s.last == 0)
            return;
        Read& read = read_.emplace_back();
        read.stack = s;
        read.mapped = false;
    }

    void Map(Read& read) const
    {
        const StackAt& s = read.stack;
        read.mapped = true;
        read.top = RowOf(s.sums[static_cast<std::size_t>(layers_)]);
        for (int k = 0; k < s.last; ++k)
            read.base[static_cast<std::size_t>(k)] = BaseRow(s.sums[static_cast<std::size_t>(k)]);
        int first = read.top;
        for (int k = s.last; k >= 1; --k) {
            if (s.drawn[static_cast<std::size_t>(k)])
                first = k == layers_ ? read.top : RowOf(s.sums[static_cast<std::size_t>(k)]);
            read.firstTop[static_cast<std::size_t>(k)] = first;
        }
    }

    // Layer k of a stack shows on the rows [total, total under layer k), and on the row of
    // the first drawn layer from k up, a bar of one pixel where it starts on the row below.
    static Rows RowsOf(const Read& read, int k)
    {
        const std::size_t kk = static_cast<std::size_t>(k);
        return {read.top, std::max(read.base[kk - 1], read.firstTop[kk] + 1)};
    }
    Rows RowsOf(const Layer& layer) const
    {
        return {RowOf(layer.highest), std::max(BaseRow(layer.lowestBase), RowOf(layer.lowestTop) + 1)};
    }

    void DrawColumn(std::size_t a, std::size_t b, int x)
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        const Layer none{-inf, inf, inf, 0};
        read_.clear();
        boxes_.clear();
        for (int k = 1; k <= layers_; ++k)
            layer_[static_cast<std::size_t>(k)] = none;
        constexpr std::size_t block = StackIndex::kBlock;
        for (std::size_t j = a; j < b;) {
            const std::size_t blockIndex = j / block;
            const std::size_t blockEnd = std::min((blockIndex + 1) * block, index_.Positions());
            if (j % block != 0 || blockEnd > b || index_.Kind(blockIndex) == StackIndex::kWalkedBlock) {
                const std::size_t end = std::min(blockEnd, b);
                TakeRun(j, end);
                j = end;
                continue;
            }
            if (index_.Kind(blockIndex) == StackIndex::kSummedBlock) {
                BlockBox& box = boxes_.emplace_back();
                box.first = j;
                box.read = false;
                for (int k = 1; k <= layers_; ++k)
                    box.layer[k] = none;
                std::uint64_t at = std::uint64_t{1} << index_.HighestAt(blockIndex);
                for (int k = 1; k < layers_; ++k)
                    at |= std::uint64_t{1} << index_.LowestAt(blockIndex, k);
                for (int k = 1; k <= layers_; ++k)
                    at |= std::uint64_t{1} << index_.LowestFirstTopAt(blockIndex, k);
                for (; at; at &= at - 1)
                    Take(j + static_cast<std::size_t>(std::countr_zero(at)), &box);
                for (int k = 2; k <= layers_; ++k)
                    layer_[static_cast<std::size_t>(k)].covered |= index_.Covered(blockIndex, k);
            }
            j = blockEnd;
        }
        const Rows whole = RowsOf(layer_[1]);
        if (layer_[1].highest == -inf || whole.first >= whole.second)
            return;
        // The layer shown on each row of the column, from row whole.first on.
        shown_.assign(static_cast<std::size_t>(whole.second - whole.first), 1);
        for (int k = 2; k <= layers_; ++k) {
            if (layer_[static_cast<std::size_t>(k)].highest == -inf)
                break; // no stack reaches layer k, nor any above
            FindRows(k);
            for (const Rows& rows : pieces_) {
                const int from = std::max(rows.first, whole.first) - whole.first;
                const int to = std::min(rows.second, whole.second) - whole.first;
                if (from < to)
                    std::fill(shown_.begin() + from, shown_.begin() + to, static_cast<std::uint8_t>(k));
            }
        }
        for (std::size_t r = 0; r < shown_.size();) {
            std::size_t end = r + 1;
            while (end < shown_.size() && shown_[end] == shown_[r])
                ++end;
            UseLayer(shown_[r]);
            canvas_.Rectangle(x, whole.first + static_cast<int>(r), x + 1, whole.first + static_cast<int>(end));
            r = end;
        }
    }

    // The rows of layer k (k >= 2) into pieces_, sorted and apart: those of the blocks'
    // covered stretches and of the stacks read. Where these leave rows of the layer's extent
    // open, every block whose stacks may reach them is read, and the rows found again: what
    // is open then is open.
    void FindRows(int k)
    {
        const Layer& layer = layer_[static_cast<std::size_t>(k)];
        const Rows extent = RowsOf(layer);
        const auto find = [&] {
            spans_.clear();
            // Values (Edge(lo), Edge(hi + 1)] of a run of covered bins: from the row of its
            // upper edge down to that of its lower one.
            struct
            {
                bool valid = false;
                int bins = 0;
                double low = 0, lowAbove = 0, high = 0;
            } main;
            for (std::uint64_t bits = layer.covered; bits;) {
                const int lo = std::countr_zero(bits);
                const int hi = lo + std::countr_one(bits >> lo) - 1;
                bits = hi >= 63 ? 0 : bits & ~((std::uint64_t{2} << hi) - 1);
                spans_.push_back({RowOf(index_.Edge(hi + 1)), BaseRow(index_.Edge(lo))});
                // A stack of values from Edge(lo) to Edge(hi + 1) lies within the run's rows
                // when its first drawn layer from k up ends on a row above the run's lowest.
                if (hi + 1 - lo > main.bins && hi > lo && RowOf(index_.Edge(lo + 1)) < spans_.back().second)
                    main = {true, hi + 1 - lo, index_.Edge(lo), index_.Edge(lo + 1), index_.Edge(hi + 1)};
            }
            // Stacks within those rows add nothing; told by their values where they lie
            // within the values of the run of most bins, a bin above its lower edge.
            const std::size_t runs = spans_.size();
            for (Read& read : read_) {
                const StackAt& s = read.stack;
                if (s.last < k)
                    continue;
                if (main.valid && s.sums[static_cast<std::size_t>(k - 1)] >= main.low &&
                    s.firstTop[static_cast<std::size_t>(k)] >= main.lowAbove &&
                    s.sums[static_cast<std::size_t>(layers_)] <= main.high)
                    continue;
                if (!read.mapped)
                    Map(read);
                const Rows rows = RowsOf(read, k);
                bool inside = false;
                for (std::size_t i = 0; i < runs && !inside; ++i)
                    inside = rows.first >= spans_[i].first && rows.second <= spans_[i].second;
                if (!inside)
                    spans_.push_back(rows);
            }
            std::sort(spans_.begin(), spans_.end());
            pieces_.clear();
            for (const Rows& span : spans_) {
                if (span.first >= span.second)
                    continue;
                if (!pieces_.empty() && span.first <= pieces_.back().second)
                    pieces_.back().second = std::max(pieces_.back().second, span.second);
                else
                    pieces_.push_back(span);
            }
            gaps_.clear();
            int from = extent.first;
            for (const Rows& piece : pieces_) {
                if (piece.first > from)
                    gaps_.push_back({from, std::min(piece.first, extent.second)});
                from = std::max(from, piece.second);
            }
            if (from < extent.second)
                gaps_.push_back({from, extent.second});
        };
        find();
        bool more = false;
        for (BlockBox& box : boxes_) {
            if (gaps_.empty())
                break;
            if (box.read || box.layer[k].highest == -std::numeric_limits<double>::infinity())
                continue;
            const Rows reach = RowsOf(box.layer[k]);
            if (std::none_of(gaps_.begin(), gaps_.end(),
                             [&](const Rows& gap) { return reach.first < gap.second && reach.second > gap.first; }))
                continue;
            box.read = true;
            more = true;
            TakeRun(box.first, std::min(box.first + StackIndex::kBlock, index_.Positions()));
        }
        if (more)
            find();
    }

    void UseLayer(int k)
    {
        const RgbColor color = model_.Options().SeriesColorOf(index_.SeriesOf(k));
        canvas_.Pen().SetColor(color);
        canvas_.Brush().SetColor(color);
    }

    Canvas& canvas_;
    const PlotModel& model_;
    const RenderFrame& frame_;
    const StackIndex& index_;
    const SeriesList& series_;
    const int layers_;
    const int cornery_;
    std::array<Layer, maxseries + 1> layer_{};
    std::vector<Read> read_;
    std::vector<StackAt> run_;
    std::vector<BlockBox> boxes_;
    std::vector<Rows> gaps_, spans_, pieces_;
    std::vector<std::uint8_t> shown_;
};

} // namespace

void DrawBarSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n, int ordinal)
{
    UseBarTools(canvas, model, n);
    const PlotMapping& map = frame.map;
    const double seriesCount = frame.seriesCount;
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    BarRun run(canvas);
    if (frame.anyxy) {
        const int shift = (ordinal - 1) * kSeriesShift;
        const int width = PixelRound(frame.xjmp / (3 * seriesCount));
        const auto left = [&](std::size_t j) { return map.Column(points[j].x) + shift; };
        const auto box = [&](std::size_t j, double y) {
            const int x = left(j);
            run.Add(x, map.Row(y), x + width, frame.cornery);
        };
        if (!DrawBarsByColumn(model, frame, n, run, left, box))
            ForEachBar(model, frame, n, [&](std::size_t j, const DataPoint& p) { box(j, p.y); });
    } else {
        const double width = frame.xjmp / seriesCount;
        const int cornerx = map.Area().cornerx;
        const double place = width * (n - 1); // the series' place in the slot
        const auto left = [&](std::size_t j) {
            const double slot = static_cast<double>(j) - static_cast<double>(frame.firstSlot);
            return PixelRound(slot * frame.xjmp + cornerx + place);
        };
        const auto box = [&](std::size_t j, double y) {
            const int x = left(j);
            run.Add(x, map.Row(y), PixelRound(x + width), frame.cornery);
        };
        if (!DrawBarsByColumn(model, frame, n, run, left, box))
            ForEachBar(model, frame, n, [&](std::size_t j, const DataPoint& p) { box(j, p.y); });
    }
    run.Flush();
}

void DrawStackedSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n, StackTotals& totals)
{
    UseBarTools(canvas, model, n);
    if (totals.DrawnAtOnce())
        return;
    if (frame.indexed) {
        const StackIndex* index = totals.Index();
        if (index && index->Usable() && index->SeriesOf(1) == n && StackColumns(canvas, model, frame, *index).Draw()) {
            totals.SetDrawnAtOnce();
            canvas.Pen().SetColor(model.Options().SeriesColorOf(n)); // as the walk leaves them
            UseBarTools(canvas, model, n);
            return;
        }
    }
    const PlotMapping& map = frame.map;
    const double xjmp = frame.xjmp;
    const int xyWidth = PixelRound(xjmp / (2.0 * frame.seriesCount));
    BarRun run(canvas);
    ForEachBar(model, frame, n, [&](std::size_t j, const DataPoint& p) {
        const std::size_t slot = totals.Slot(j, p.x);
        const double base = totals.Total(slot);
        const double top = StackTotals::Add(base, p.y);
        const int x = map.Column(p.x);
        const int right = frame.anyxy ? x + xyWidth : PixelRound(x + xjmp - xjmp / 5);
        const int bottomRow = base == 0 ? frame.cornery : map.RowFrom(frame.cornery, base);
        run.Add(x, map.RowFrom(frame.cornery, top), right, bottomRow);
        totals.SetTotal(slot, top);
    });
    run.Flush();
}

} // namespace plotwell
