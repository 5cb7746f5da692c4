#pragma once
// The drawing options of a graph, with their defaults; the renderer reads them.

#include "core/color.h"
#include "graph/data/series_types.h"

#include <QString>

#include <algorithm>
#include <array>

namespace plotwell {

// The values a whole-number option may take; the panel, the command line and the setters all
// take their limits from here.
struct OptionRange
{
    int low;
    int high;
    constexpr bool Contains(int value) const { return value >= low && value <= high; }
    constexpr int Clamp(int value) const { return std::clamp(value, low, high); }
};

inline constexpr OptionRange kLineWidthRange{1, 30};
inline constexpr OptionRange kSmoothingRange{1, 6};

struct PlotOptions
{
    RgbColor backgroundColor = 0x00F8FFFF; // pale ivory (255, 255, 248)
    RgbColor axisColor = 0x00000000;
    RgbColor gridColor = 0x00808080;
    RgbColor titleColor = 0x00000000;
    std::array<RgbColor, maxseries> seriesColor = {
        0x000000FF, // red
        0x00008000, // green
        0x00FF0000, // blue
        0x00FF00FF, // magenta
        0x00000080, // maroon
        0x00008080, // olive
        0x0099CC00, // (0, 204, 153)
        0x00993366, // (102, 51, 153)
    };
    int lineWidth = 1;
    bool horzGridLines = true;
    bool vertGridLines = true;
    bool showPoints = true;
    bool drawArea = false;
    bool floatingXAxis = true;
    bool showLegend = true;
    QString xLabel = QStringLiteral("Datum");
    QString yLabel = QStringLiteral("Value");
    int decimalPlaces = 4;
    int smoothing = 3; // curve smoothing level, in kSmoothingRange

    bool operator==(const PlotOptions&) const = default;

    // Colour of series number n (1..maxseries); any other number throws std::out_of_range
    // rather than colour a series as another.
    RgbColor SeriesColorOf(int n) const { return seriesColor.at(static_cast<std::size_t>(n - 1)); }
};

} // namespace plotwell
