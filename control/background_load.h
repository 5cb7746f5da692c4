#pragma once
// BackgroundLoad: one data file loaded on a worker thread into a store of its own, keeping the
// messages the load gives; the graph control puts the result in place on the interface thread
// in one step, or drops it when the load was cancelled.

#include "core/recording_sink.h"
#include "graph/load/load_progress.h"
#include "graph/data/plot_model.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <thread>

namespace plotwell {

class BackgroundLoad : public QObject
{
    Q_OBJECT

public:
    // Loads `path` into the empty `store`, reporting through `progress`; true when it touched
    // the store (a missing file leaves it alone). The default reads a data file.
    using LoadFunction = std::function<bool(PlotModel& store, const QString& path, LoadProgress& progress)>;
    static bool LoadDataFile(PlotModel& store, const QString& path, LoadProgress& progress);

    // Starts the worker at once.
    BackgroundLoad(const QString& path, const LoadFunction& load, QObject* parent = nullptr);
    // Cancels the load and waits for the worker.
    ~BackgroundLoad() override;

    void Cancel() { progress_.Cancel(); }
    int Percent() const { return progress_.Percent(); }
    const QString& Path() const { return path_; }

    // After finished():
    bool Cancelled() const { return cancelled_; }
    bool TouchedStore() const { return touched_; }
    PlotModel& Store() { return store_; }
    const QStringList& Messages() const { return sink_.Messages(); }

signals:
    // On the interface thread, once the worker is done.
    void finished();

private:
    void Run(const LoadFunction& load);
    void Announce(); // on the interface thread

    QString path_;
    RecordingSink sink_;
    // Made here, used only by the worker until finished() is raised.
    PlotModel store_;
    LoadProgress progress_;
    bool cancelled_ = false;
    bool touched_ = false;
    std::thread worker_;
};

} // namespace plotwell
