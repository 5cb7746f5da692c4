#include "graph/draw/curve_series.h"

#include "graph/draw/canvas.h"
#include "graph/draw/column_runs.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/data/series_index.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace plotwell {

namespace {

int ColumnStride(qint64 lastPosition)
{
    if (lastPosition > 1500)
        return 15;
    if (lastPosition > 700)
        return 12;
    if (lastPosition > 300)
        return 8;
    if (lastPosition > 200)
        return 6;
    if (lastPosition > 100)
        return 4;
    if (lastPosition > 50)
        return 3;
    return 2;
}

// The plotted values of a series summed per centre column: a point's weight depends only on
// its column distance, so each column of the curve costs one pass over these sums.
struct CentreSums
{
    std::vector<int> column;
    std::vector<double> sum;
    std::vector<double> count;
};

// The values of one centre are added in pieces, one per group of SeriesIndex::kSumSpan
// points, each piece from 0 in order and the pieces in order, so that the walk and the drawing
// index, which keeps the sum of every group, add the same numbers in the same order.
class CentreAdder
{
public:
    explicit CentreAdder(CentreSums& sums) : sums_(sums) {}

    // A plotted value of point j, whose centre is `centre`; points come in order.
    void Add(std::size_t j, int centre, double y)
    {
        Start(centre, j / SeriesIndex::kSumSpan);
        piece_ += y;
        pieceCount_ += 1;
    }
    // The values of a whole group g, of which `count` are plotted.
    void AddGroup(std::size_t g, int centre, double sum, int count)
    {
        if (count == 0)
            return;
        Start(centre, g);
        piece_ = sum;
        pieceCount_ = count;
        Finish();
    }
    void Finish()
    {
        if (pieceCount_ > 0) {
            sums_.sum.back() += piece_;
            sums_.count.back() += pieceCount_;
        }
        piece_ = 0;
        pieceCount_ = 0;
    }

private:
    void Start(int centre, std::size_t group)
    {
        if (sums_.column.empty() || centre != sums_.column.back()) {
            // Centres mostly grow with the position, so equal centres are mostly neighbours.
            Finish();
            sums_.column.push_back(centre);
            sums_.sum.push_back(0);
            sums_.count.push_back(0);
        } else if (group != group_) {
            Finish();
        }
        group_ = group;
    }

    CentreSums& sums_;
    double piece_ = 0;
    double pieceCount_ = 0;
    std::size_t group_ = 0;
};

// Each point's weight is centred on the column its marker stands in, the column of its own X
// (bare values have their position as X), so the curve passes by its markers however unevenly
// the X values are spread.
CentreSums SumByCentre(const PointList& points, const RenderFrame& frame)
{
    CentreSums sums;
    CentreAdder adder(sums);
    const PlotMapping& map = frame.map;
    const int cornerx = map.Area().cornerx;
    // Column(x) of X values that mostly grow, at the cost of a comparison for most of them:
    // the mapping never decreases, so an X between two of one column falls in that column.
    double low = 1;
    double high = 0; // [low, high]: X values known to fall in column `known`
    int known = 0;
    const auto column = [&](double x) {
        if (x >= low && x <= high)
            return known;
        known = map.Column(x);
        // The last X of this column by the straight line of the mapping, a little short of it.
        const AxisScale& axis = map.X();
        const double perColumn = axis.ScaledExtent() / map.Area().xwid / axis.Scale();
        double last = ((known + 0.5 - cornerx) / map.Area().xwid * axis.ScaledExtent() + axis.ScaledLow()) / axis.Scale() -
                      perColumn * 1e-6;
        if (!(last >= x) || map.Column(last) != known)
            last = x;
        low = x;
        high = last;
        return known;
    };
    for (std::size_t j = 0; j < points.size(); ++j) {
        const double y = points[j].y;
        if (IsNullValue(y))
            continue;
        // Column index c of the curve's vertex at cornerx + c - 1.
        adder.Add(j, column(points[j].x) - cornerx + 1, y);
    }
    adder.Finish();
    return sums;
}

// The same sums through the drawing index: a column's run of points by bisection, its whole
// groups from the index, only the points of the groups at its ends added here.
CentreSums SumByCentreWithIndex(const PointList& points, const RenderFrame& frame, const SeriesIndex& index)
{
    constexpr std::size_t span = SeriesIndex::kSumSpan;
    CentreSums sums;
    CentreAdder adder(sums);
    const PlotMapping& map = frame.map;
    const int cornerx = map.Area().cornerx;
    ForEachColumnRun(points, 0, points.size(), map, [&](int column, std::size_t a, std::size_t b) {
        const int centre = column - cornerx + 1;
        for (std::size_t i = a; i < b;) {
            const std::size_t g = i / span;
            const std::size_t groupEnd = std::min((g + 1) * span, b);
            if (i == g * span && groupEnd == (g + 1) * span) {
                adder.AddGroup(g, centre, index.GroupSum(g), index.GroupCount(g));
            } else {
                for (std::size_t j = i; j < groupEnd; ++j) {
                    const double y = points[j].y;
                    if (!IsNullValue(y))
                        adder.Add(j, centre, y);
                }
                adder.Finish();
            }
            i = groupEnd;
        }
    });
    adder.Finish();
    return sums;
}

} // namespace

double CurveWeight(int d, int xwid, int smoothing)
{
    if (d == 0)
        return 1;
    const double dd = d == xwid ? xwid - 1 : d;
    return std::pow(1 - dd / xwid, std::ldexp(1.0, smoothing));
}

namespace {

// The weights of the drawn columns by distance, each divided by its column's smallest weight
// and 10^8 as the sums take them. Every series of a drawing uses the same: kept for the next.
class CurveWeights
{
public:
    bool Fits(int xwid, int smoothing, int stride, int farthest) const
    {
        return xwid == xwid_ && smoothing == smoothing_ && stride == stride_ && farthest <= farthest_;
    }
    void Build(int xwid, int smoothing, int stride, int farthest)
    {
        xwid_ = xwid, smoothing_ = smoothing, stride_ = stride, farthest_ = farthest;
        std::vector<double> weight(static_cast<std::size_t>(farthest) + 1);
        for (int d = 0; d <= farthest; ++d)
            weight[static_cast<std::size_t>(d)] = CurveWeight(d, xwid, smoothing);
        const std::size_t row = weight.size();
        scaled_.assign((static_cast<std::size_t>(xwid / stride) + 1) * row, 0.0);
        for (int c = 1; c <= xwid; ++c) {
            if (c != 1 && c % stride != 0)
                continue;
            const int dd = 2 * c <= xwid ? xwid - c : c;
            const double wmin = std::max(weight[static_cast<std::size_t>(dd)], 1e-20);
            double* scaled = &scaled_[Slot(c) * row];
            for (std::size_t d = 0; d < row; ++d)
                scaled[d] = weight[d] / wmin / 100000000.0;
        }
    }
    // The weights of drawn column c, by distance.
    const double* ForColumn(int c) const { return &scaled_[Slot(c) * (static_cast<std::size_t>(farthest_) + 1)]; }

private:
    std::size_t Slot(int c) const { return static_cast<std::size_t>(c / stride_); }

    int xwid_ = -1, smoothing_ = -1, stride_ = -1, farthest_ = -1;
    std::vector<double> scaled_;
};

const CurveWeights& WeightsFor(int xwid, int smoothing, int stride, int farthest)
{
    thread_local CurveWeights weights;
    if (!weights.Fits(xwid, smoothing, stride, farthest))
        weights.Build(xwid, smoothing, stride, farthest);
    return weights;
}

} // namespace

void DrawCurve(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    const int xwid = area.xwid;
    const int smoothing = kSmoothingRange.Clamp(options.smoothing);
    const int stride = ColumnStride(static_cast<qint64>(points.size()) - 1);
    canvas.Pen().SetColor(options.SeriesColorOf(n));
    if (xwid <= 0)
        return;
    const SeriesIndex* index = frame.indexed ? &model.DrawingIndex(n) : nullptr;
    const bool grouped = index && index->HasGroups() && index->MapsInOrder(points, frame.map, false);
    const CentreSums sums = grouped ? SumByCentreWithIndex(points, frame, *index) : SumByCentre(points, frame);
    if (sums.column.empty())
        return;

    // Weights by column distance, which never exceeds this.
    int farthest = xwid;
    for (const int centre : sums.column)
        farthest = std::max({farthest, std::abs(1 - centre), std::abs(xwid - centre)});
    const CurveWeights& weights = WeightsFor(xwid, smoothing, stride, farthest);

    const int bandBottom = frame.cornery - options.lineWidth;
    QPoint previous;
    bool started = false;
    for (int c = 1; c <= xwid; ++c) {
        if (c != 1 && c % stride != 0)
            continue;
        const double* w = weights.ForColumn(c);
        double weightSum = 0;
        double weightedSum = 0;
        for (std::size_t k = 0; k < sums.column.size(); ++k) {
            const double wk = w[std::abs(c - sums.column[k])];
            weightSum += wk * sums.count[k];
            weightedSum += wk * sums.sum[k];
        }
        const double yc = weightedSum / weightSum;
        if (!std::isfinite(yc))
            continue;
        QPoint vertex(area.cornerx + c - 1, frame.map.Row(yc));
        if (!started) {
            if (options.drawArea)
                vertex.rx() += options.lineWidth - 1;
            canvas.MoveTo(vertex.x(), vertex.y());
            previous = vertex;
            started = true;
        } else {
            canvas.LineTo(vertex.x(), vertex.y());
        }
        if (options.drawArea) {
            canvas.Pen().SetWidth(1);
            const QPoint band[] = {previous, vertex, QPoint(vertex.x(), bandBottom), QPoint(previous.x(), bandBottom)};
            canvas.Polygon(band, 4);
        }
        previous = vertex;
    }
}

} // namespace plotwell
