#include "control/background_load.h"

#include "graph/load/data_file_loader.h"

#include <new>

namespace plotwell {

bool TBackgroundLoad::LoadDataFile(PlotModel& store, const QString& path, TLoadProgress& progress)
{
    return DataFileLoader(store, &progress).SetFileName(path);
}

TBackgroundLoad::TBackgroundLoad(const QString& path, const TLoadFunction& load, QObject* parent)
    : QObject(parent), path_(path), store_(sink_)
{
    worker_ = std::thread([this, load] { Run(load); });
}

TBackgroundLoad::~TBackgroundLoad()
{
    progress_.Cancel();
    if (worker_.joinable())
        worker_.join();
}

void TBackgroundLoad::Run(const TLoadFunction& load)
{
    try {
        touched_ = load(store_, path_, progress_);
        if (touched_)
            store_.PrepareForDrawing([this] { progress_.ThrowIfCancelled(); });
    } catch (const TLoadCancelled&) {
        cancelled_ = true;
    } catch (const std::bad_alloc&) {
        // Past the loader's own handling (its messages, say): the load fails as a whole.
        store_.ClearData();
        sink_.ShowMessage(QStringLiteral("Not enough memory to load file:\r\r") + path_);
        touched_ = true;
    }
    QMetaObject::invokeMethod(this, &TBackgroundLoad::finished, Qt::QueuedConnection);
}

} // namespace plotwell
