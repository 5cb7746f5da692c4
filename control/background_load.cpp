#include "control/background_load.h"

#include "graph/load/data_file_loader.h"

#include <new>

namespace plotwell {

bool BackgroundLoad::LoadDataFile(PlotModel& store, const QString& path, LoadProgress& progress)
{
    return DataFileLoader(store, &progress).SetFileName(path);
}

BackgroundLoad::BackgroundLoad(const QString& path, const LoadFunction& load, QObject* parent)
    : QObject(parent), path_(path), store_(sink_)
{
    worker_ = std::thread([this, load] { Run(load); });
}

BackgroundLoad::~BackgroundLoad()
{
    progress_.Cancel();
    if (worker_.joinable())
        worker_.join();
}

void BackgroundLoad::Run(const LoadFunction& load)
{
    try {
        touched_ = load(store_, path_, progress_);
        if (touched_)
            store_.PrepareForDrawing([this] { progress_.ThrowIfCancelled(); });
    } catch (const LoadCancelled&) {
        cancelled_ = true;
    } catch (const std::bad_alloc&) {
        // Past the loader's own handling (its messages, say): the load fails as a whole.
        store_.ClearData();
        sink_.ShowMessage(QStringLiteral("Not enough memory to load file:\r\r") + path_);
        touched_ = true;
    }
    QMetaObject::invokeMethod(this, &BackgroundLoad::Announce, Qt::QueuedConnection);
}

void BackgroundLoad::Announce()
{
    // The worker has only to return: joining it first makes everything it wrote plainly the
    // interface thread's (to a thread checker too, which cannot see the event queue's lock).
    if (worker_.joinable())
        worker_.join();
    emit finished();
}

} // namespace plotwell
