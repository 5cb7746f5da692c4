#pragma once
// PlotModel: the series store with its statistics, the Display Series box states, the graph
// type in force and the drawing options. Widgets show it; the command-line tool drives it
// without widgets; drawing only reads it.

#include "graph/data/plot_options.h"
#include "graph/data/series_index_cache.h"
#include "graph/data/series_types.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace plotwell {

class MessageSink;

// State of one Display Series check box.
struct SeriesBoxState
{
    bool visible = false;
    bool checked = true;
    QString hint;
};

// Statistics of the non-null points of one series, or of the displayed series together.
struct SeriesSummary
{
    qint64 numpoints = 0;
    double minvalue = novalue;
    double maxvalue = novalue;
    double average = novalue;
    double standarddeviation = novalue;
};

class PlotModel : public QObject
{
    Q_OBJECT

public:
    enum class Change { Series, SeriesBoxes, GraphType, Title, Options };
    Q_ENUM(Change)

    explicit PlotModel(MessageSink& sink, QObject* parent = nullptr);

    MessageSink& Sink() const { return sink_; }

    // --- Series store -------------------------------------------------------------------
    bool AddSeries();
    // Series numbers are 1..8; -1 names the last series (AddPoint makes series 1 when none).
    bool AddPoint(int seriesnum, double x, double y);
    void SortPoints(int seriesnum, int first, int last); // stable
    void ClearData();
    void SetSeriesName(int seriesnum, const QString& name);
    QString GetSeriesName(int seriesnum) const;
    QString GetSeriesData(int seriesnum) const;
    SeriesSummary GetSeriesSummary(int seriesnum) const;

    int NumberOfSeries() const { return static_cast<int>(store_->series.size()); }
    qint64 NumberOfPoints() const;
    // The figures of the status line over the displayed series, worked out once per change of
    // the series or of their boxes (every drawing shows them).
    const SeriesSummary& DisplayedFigures() const;
    qint64 NumberOfNonNullPoints() const;
    double MinValue() const;
    double MaxValue() const;
    double Average() const;
    double StandardDeviation() const;

    const SeriesList& AllSeries() const { return store_->series; }
    // Per-series record of series number n (1..8); outlives the series until overwritten.
    const SeriesInfo& AllSeriesInfo(int n) const { return seriesinfo_[static_cast<std::size_t>(n)]; }

    // What a redraw keeps of series n (1..8) so as not to walk its points again: built on
    // first use, dropped whenever the model announces a change of the series.
    // Safe from a drawing on another thread that holds a snapshot of this model.
    const SeriesIndex& DrawingIndex(int seriesnum) const
    {
        return store_->indexes.For(seriesnum, store_->series[static_cast<std::size_t>(seriesnum - 1)]);
    }
    // What stacked bars keep of the displayed series, stacked by X value or by position; built
    // on first use and again when the displayed series change.
    std::shared_ptr<const StackIndex> StackDrawingIndex(bool byX) const;
    std::size_t DrawingIndexBytes() const { return store_->indexes.MemoryBytes(); }

    // A model of the same graph for a drawing on another thread: a copy of the options, boxes,
    // records, title and type that shares the points (and their drawing indexes) with this
    // one. Reading it never races with changes of this model: a write to the series makes
    // this model's own copy of them first while a snapshot still holds them. Made and
    // destroyed on this model's thread; only read in between.
    std::unique_ptr<PlotModel> Snapshot() const;
    // Whether the points are shared with a snapshot still (for tests).
    bool SharesSeries() const { return store_.use_count() > 1; }

    // Removes the last series again (a rejected parse) and hides its box.
    void RemoveLastSeries();

    // Puts the store that `loaded` holds after a load in place of this one, in one step: its
    // series, their records and boxes, the file name, title and parser error, and the line graph
    // every load starts with, with the drawing indexes and status figures it worked out. The
    // drawing options stay this model's. `loaded` is left empty.
    void TakeStoreFrom(PlotModel& loaded);
    // Works out now what the first drawing and the status line would: for a store loaded on a
    // worker thread, so that the interface thread does not have to. `checkpoint` is called
    // every million points or so and may throw to stop the work.
    void PrepareForDrawing(const std::function<void()>& checkpoint) const;

    // --- Files and the parser's error ---------------------------------------------------------
    const QString& InputError() const { return inputerror_; }
    void SetInputError(const QString& text) { inputerror_ = text; }
    // What the last load has to say without a message box (columns of a file left out, say);
    // empty when nothing. Cleared with the data.
    const QString& LoadNotice() const { return loadNotice_; }
    void SetLoadNotice(const QString& text) { loadNotice_ = text; }

    QString FileName() const { return fileName_; }

    QString Title() const { return title_; }
    void SetTitle(const QString& title);

    // --- Display Series boxes ---------------------------------------------------------------
    const SeriesBoxState& SeriesBox(int n) const { return boxes_[static_cast<std::size_t>(n - 1)]; }
    void SetSeriesBox(int n, const SeriesBoxState& box);
    bool DisplaySeriesLabelVisible() const { return displaySeriesLabelVisible_; }
    void ShowDisplaySeriesLabel();
    // The user clicked box n: stores the state; a pie switches to a line graph.
    void SetSeriesBoxChecked(int n, bool checked);
    bool SeriesDisplay(int n) const;

    // --- Graph type and options ---------------------------------------------------------------
    GraphKind GraphType() const { return currentgtype_; }
    void SetGraphType(GraphKind type);
    const PlotOptions& Options() const { return options_; }
    // Sets one drawing option, for instance SetOption(&PlotOptions::showPoints, false);
    // announces it only when the value changes.
    template <typename T, typename V> void SetOption(T PlotOptions::*option, V&& value)
    {
        if (options_.*option == value)
            return;
        options_.*option = std::forward<V>(value);
        emit changed(Change::Options);
    }
    void SetSeriesColor(int n, RgbColor color); // n = 1..8
    // Sets several options at once, with one announcement when any of them changes.
    void SetOptions(const PlotOptions& options);

signals:
    void changed(plotwell::PlotModel::Change what);

private:
    friend class DataFileLoader;
    friend class SeriesWriter;

    void ClearFileName() { fileName_.clear(); }
    void SetFileNameField(const QString& value) { fileName_ = value; }
    // For the loader and the parser, once the points they wrote are in place.
    void AnnounceSeriesChange() { emit changed(Change::Series); }
    // The series to write to, this model's own.
    SeriesList& WritableSeries();

    // The points with what is derived from them alone. Never written while shared, so the
    // drawing indexes of a shared store stay true.
    struct SeriesStore
    {
        SeriesList series;
        SeriesIndexCache indexes;
    };

    MessageSink& sink_;
    std::shared_ptr<SeriesStore> store_;
    std::array<SeriesInfo, maxseries + 1> seriesinfo_{}; // index 0 unused
    std::array<SeriesBoxState, maxseries> boxes_{};
    bool displaySeriesLabelVisible_ = false;
    QString inputerror_;
    QString loadNotice_;
    QString title_;
    QString fileName_;
    GraphKind currentgtype_ = kLineGraph;
    PlotOptions options_;
    mutable std::optional<SeriesSummary> figures_; // derived from the series and boxes_
    bool keepIndexes_ = false; // the store announced came with its indexes
};

// Write access to the store for the point parser of graph/: it adds points by the million and
// the model announces the series once, when the parse is done.
class SeriesWriter
{
public:
    explicit SeriesWriter(PlotModel& model) : model_(model) {}
    PointList& Points(int seriesnum) { return model_.WritableSeries()[static_cast<std::size_t>(seriesnum - 1)]; }
    SeriesInfo& Info(int seriesnum) { return model_.seriesinfo_[static_cast<std::size_t>(seriesnum)]; }
    // The points are written: the model announces the change of its series.
    void SeriesWritten() { model_.AnnounceSeriesChange(); }

private:
    PlotModel& model_;
};

} // namespace plotwell
