#include "graph/data/plot_model.h"

#include "core/message_sink.h"
#include "core/number_format.h"
#include "graph/data/date_reading.h"
#include "graph/data/series_statistics.h"

#include <algorithm>
#include <future>

namespace plotwell {

namespace {

QString SeriesHint(int n)
{
    return QStringLiteral("Series %1").arg(n);
}

} // namespace

PlotModel::PlotModel(MessageSink& sink, QObject* parent)
    : QObject(parent), sink_(sink), store_(std::make_shared<SeriesStore>())
{
    for (int n = 1; n <= maxseries; ++n)
        boxes_[static_cast<std::size_t>(n - 1)].hint = SeriesHint(n);
    // Every change of the points is announced (the parser's and the loader's too), so the
    // indexes follow the store without each writer having to know of them. Direct: at once,
    // on the thread that changed the store (a background load's worker, say).
    connect(
        this, &PlotModel::changed, this,
        [this](Change what) {
            // A shared store was not written (writes make their own copy first), so its indexes
            // hold, and a drawing may be reading them.
            if (what == Change::Series && !keepIndexes_ && !SharesSeries())
                store_->indexes.Clear();
            if (what == Change::Series || what == Change::SeriesBoxes)
                figures_.reset();
        },
        Qt::DirectConnection);
}

SeriesList& PlotModel::WritableSeries()
{
    if (SharesSeries()) {
        auto own = std::make_shared<SeriesStore>();
        own->series = store_->series;
        store_ = std::move(own);
    }
    return store_->series;
}

std::unique_ptr<PlotModel> PlotModel::Snapshot() const
{
    auto copy = std::make_unique<PlotModel>(sink_);
    copy->store_ = store_;
    copy->seriesinfo_ = seriesinfo_;
    copy->boxes_ = boxes_;
    copy->displaySeriesLabelVisible_ = displaySeriesLabelVisible_;
    copy->inputerror_ = inputerror_;
    copy->loadNotice_ = loadNotice_;
    copy->title_ = title_;
    copy->fileName_ = fileName_;
    copy->currentgtype_ = currentgtype_;
    copy->options_ = options_;
    copy->figures_ = figures_;
    return copy;
}

bool PlotModel::AddSeries()
{
    if (NumberOfSeries() >= maxseries) {
        sink_.ShowMessage(QStringLiteral("Too many sets (columns) of data.  Max = %1.").arg(maxseries));
        return false;
    }
    WritableSeries().emplace_back();
    const int n = NumberOfSeries();
    boxes_[static_cast<std::size_t>(n - 1)] = SeriesBoxState{true, true, SeriesHint(n)};
    emit changed(Change::SeriesBoxes);
    return true;
}

bool PlotModel::AddPoint(int seriesnum, double x, double y)
{
    if (seriesnum == -1) {
        if (store_->series.empty() && !AddSeries())
            return false;
        seriesnum = NumberOfSeries();
    } else if (seriesnum < 1 || seriesnum > NumberOfSeries()) {
        return false;
    }
    PointList& target = WritableSeries()[static_cast<std::size_t>(seriesnum - 1)];
    if (IsNullValue(x))
        x = static_cast<double>(target.size() + 1);
    target.push_back(DataPoint{x, y});
    emit changed(Change::Series);
    return true;
}

void PlotModel::SortPoints(int seriesnum, int first, int last)
{
    if (seriesnum < 1 || seriesnum > NumberOfSeries())
        return;
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(store_->series[static_cast<std::size_t>(seriesnum - 1)].size()) - 1);
    if (first >= last)
        return;
    PointList& points = WritableSeries()[static_cast<std::size_t>(seriesnum - 1)];
    if (points.SortByX(static_cast<std::size_t>(first), static_cast<std::size_t>(last) + 1))
        emit changed(Change::Series);
}

void PlotModel::ClearData()
{
    for (int k = 1; k <= NumberOfSeries(); ++k) {
        seriesinfo_[static_cast<std::size_t>(k)].name.clear();
        boxes_[static_cast<std::size_t>(k - 1)] = SeriesBoxState{false, true, SeriesHint(k)};
    }
    // A snapshot keeps the old points for as long as it needs them.
    store_ = std::make_shared<SeriesStore>();
    title_.clear();
    fileName_.clear();
    loadNotice_.clear();
    emit changed(Change::Series);
    SetGraphType(kLineGraph);
}

void PlotModel::RemoveLastSeries()
{
    if (store_->series.empty())
        return;
    const int n = NumberOfSeries();
    WritableSeries().pop_back();
    boxes_[static_cast<std::size_t>(n - 1)].visible = false;
    emit changed(Change::SeriesBoxes);
}

void PlotModel::TakeStoreFrom(PlotModel& loaded)
{
    store_ = std::exchange(loaded.store_, std::make_shared<SeriesStore>());
    seriesinfo_ = loaded.seriesinfo_;
    boxes_ = loaded.boxes_;
    displaySeriesLabelVisible_ = displaySeriesLabelVisible_ || loaded.displaySeriesLabelVisible_;
    inputerror_ = loaded.inputerror_;
    loadNotice_ = loaded.loadNotice_;
    title_ = loaded.title_;
    fileName_ = loaded.fileName_;
    keepIndexes_ = true;
    emit changed(Change::Series);
    keepIndexes_ = false;
    emit changed(Change::Title);
    SetGraphType(loaded.currentgtype_);
    // After the announcements, which drop the figures this model had worked out for its old store.
    figures_ = loaded.figures_;
    loaded.figures_.reset();
}

std::shared_ptr<const StackIndex> PlotModel::StackDrawingIndex(bool byX) const
{
    std::uint32_t shown = 0;
    for (int n = 1; n <= NumberOfSeries(); ++n)
        if (SeriesDisplay(n))
            shown |= 1u << (n - 1);
    return store_->indexes.Stacks(store_->series, shown, byX);
}

void PlotModel::PrepareForDrawing(const std::function<void()>& checkpoint) const
{
    // The figures and the indexes are each a walk through every point and share nothing, so
    // the figures are worked out on a second core meanwhile. (A cancel waits for them.)
    std::future<void> figures = std::async(std::launch::async, [this] { DisplayedFigures(); });
    for (int n = 1; n <= NumberOfSeries(); ++n)
        store_->indexes.For(n, store_->series[static_cast<std::size_t>(n - 1)], checkpoint);
    figures.get();
    checkpoint();
}

void PlotModel::SetSeriesName(int seriesnum, const QString& name)
{
    if (seriesnum < 1 || seriesnum > NumberOfSeries())
        return;
    // Cut at 60 characters without splitting a surrogate pair.
    QString stored = name;
    if (stored.size() > maxnamelength) {
        qsizetype cut = 0;
        int chars = 0;
        while (cut < stored.size() && chars < maxnamelength) {
            cut += (stored[cut].isHighSurrogate() && cut + 1 < stored.size()) ? 2 : 1;
            ++chars;
        }
        stored.truncate(cut);
    }
    seriesinfo_[static_cast<std::size_t>(seriesnum)].name = stored;
    boxes_[static_cast<std::size_t>(seriesnum - 1)].hint = SeriesHint(seriesnum) + QStringLiteral(" - ") + name;
    emit changed(Change::SeriesBoxes);
}

QString PlotModel::GetSeriesName(int seriesnum) const
{
    if (seriesnum < 1 || seriesnum > NumberOfSeries())
        return {};
    return seriesinfo_[static_cast<std::size_t>(seriesnum)].name;
}

QString PlotModel::GetSeriesData(int seriesnum) const
{
    if (seriesnum < 1 || seriesnum > NumberOfSeries())
        return {};
    const PointList& points = store_->series[static_cast<std::size_t>(seriesnum - 1)];
    const bool dates = seriesinfo_[static_cast<std::size_t>(seriesnum)].isdates;
    QString out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DataPoint& p = points[i];
        if (IsNullPoint(p)) {
            out += QStringLiteral(" ,");
        } else {
            out += QLatin1Char('(');
            out += dates ? FormatShortDate(p.x) : FormatGeneral(p.x);
            out += QStringLiteral(", ");
            out += FormatGeneral(p.y);
            out += QLatin1Char(')');
        }
        if (i + 1 < points.size())
            out += QStringLiteral(", ");
    }
    return out;
}

SeriesSummary PlotModel::GetSeriesSummary(int seriesnum) const
{
    SeriesSummary summary;
    if (seriesnum < 1 || seriesnum > NumberOfSeries())
        return summary;
    const PointList& points = store_->series[static_cast<std::size_t>(seriesnum - 1)];
    ValueStatistics stats;
    stats.Add(points);
    summary.numpoints = stats.Values();
    summary.minvalue = stats.Min();
    summary.maxvalue = stats.Max();
    summary.average = stats.Average();
    summary.standarddeviation = stats.Values() < 2 ? 0.0 : stats.StandardDeviation();
    return summary;
}

qint64 PlotModel::NumberOfPoints() const
{
    qint64 total = 0;
    for (const PointList* series : DisplayedSeries(*this))
        total += static_cast<qint64>(series->size());
    return total;
}

const SeriesSummary& PlotModel::DisplayedFigures() const
{
    if (!figures_) {
        const ValueStatistics stats = DisplayedStatistics(*this);
        figures_ = SeriesSummary{stats.Values(), stats.Min(), stats.Max(), stats.Average(), stats.StandardDeviation()};
    }
    return *figures_;
}

qint64 PlotModel::NumberOfNonNullPoints() const
{
    return DisplayedFigures().numpoints;
}

double PlotModel::MinValue() const
{
    return DisplayedFigures().minvalue;
}

double PlotModel::MaxValue() const
{
    return DisplayedFigures().maxvalue;
}

double PlotModel::Average() const
{
    return DisplayedFigures().average;
}

double PlotModel::StandardDeviation() const
{
    return DisplayedFigures().standarddeviation;
}

void PlotModel::SetTitle(const QString& title)
{
    if (title_ == title)
        return;
    title_ = title;
    emit changed(Change::Title);
}

void PlotModel::SetSeriesColor(int n, RgbColor color)
{
    if (!IsSeriesNumber(n))
        return;
    SetOption(&PlotOptions::seriesColor, [&] {
        auto colors = options_.seriesColor;
        colors[static_cast<std::size_t>(n - 1)] = color;
        return colors;
    }());
}

void PlotModel::SetOptions(const PlotOptions& options)
{
    if (options_ == options)
        return;
    options_ = options;
    emit changed(Change::Options);
}

void PlotModel::SetSeriesBox(int n, const SeriesBoxState& box)
{
    if (!IsSeriesNumber(n))
        return;
    boxes_[static_cast<std::size_t>(n - 1)] = box;
    emit changed(Change::SeriesBoxes);
}

void PlotModel::ShowDisplaySeriesLabel()
{
    if (displaySeriesLabelVisible_)
        return;
    displaySeriesLabelVisible_ = true;
    emit changed(Change::SeriesBoxes);
}

void PlotModel::SetSeriesBoxChecked(int n, bool checked)
{
    if (!IsSeriesNumber(n))
        return;
    boxes_[static_cast<std::size_t>(n - 1)].checked = checked;
    emit changed(Change::SeriesBoxes);
    if (currentgtype_ == kPieGraph)
        SetGraphType(kLineGraph);
}

bool PlotModel::SeriesDisplay(int n) const
{
    if (!IsSeriesNumber(n) || NumberOfSeries() == 1)
        return true;
    const SeriesBoxState& box = boxes_[static_cast<std::size_t>(n - 1)];
    return box.visible && box.checked;
}

void PlotModel::SetGraphType(GraphKind type)
{
    if (currentgtype_ == type)
        return;
    currentgtype_ = type;
    emit changed(Change::GraphType);
}

} // namespace plotwell
