// One line of point text through the parser, as UTF-8 and as Windows-1252.
#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"

#include <cstddef>
#include <cstdint>

using namespace plotwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
        RecordingSink sink;
        PlotModel model(sink);
        AddSeriesFromBytes(model, text, size, encoding, true);
        // A second series exercises the kind check against the first.
        AddSeriesFromBytes(model, text, size, encoding, false);
        for (int n = 1; n <= model.NumberOfSeries(); ++n)
            (void)model.GetSeriesData(n);
        (void)model.StandardDeviation();
    }
    return 0;
}
