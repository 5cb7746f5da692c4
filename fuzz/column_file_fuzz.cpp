// Whole column files through the loader, with each rule for the X column, then the texts the
// main window builds from them.
#include "core/recording_sink.h"
#include "graph/load/data_file_loader.h"
#include "graph/data/plot_model.h"
#include "graph/data/status_texts.h"

#include <cstddef>
#include <cstdint>

using namespace plotwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const XColumnRule rule : {XColumnRule::Auto, XColumnRule::Always, XColumnRule::Never}) {
        RecordingSink sink;
        PlotModel model(sink);
        DataFileLoader loader(model);
        loader.SetOptions(LoadOptions{DataLayout::Columns, rule});
        loader.LoadBytes(reinterpret_cast<const char*>(data), size, QStringLiteral("fuzz.csv"));
        (void)StatusLineText(model);
        (void)SummaryLines(model);
    }
    return 0;
}
