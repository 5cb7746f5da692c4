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
    TColor BackgroundColor = 0x00F8FFFF; // pale ivory (255, 255, 248)
    TColor AxisColor = 0x00000000;
    TColor GridColor = 0x00808080;
    TColor TitleColor = 0x00000000;
    std::array<TColor, maxseries> SeriesColor = {
        0x000000FF, // red
        0x00008000, // green
        0x00FF0000, // blue
        0x00FF00FF, // magenta
        0x00000080, // maroon
        0x00008080, // olive
        0x0099CC00, // (0, 204, 153)
        0x00993366, // (102, 51, 153)
    };
    int LineWidth = 1;
    bool HorzGridLines = true;
    bool VertGridLines = true;
    bool ShowPoints = true;
    bool DrawArea = false;
    bool FloatingXAxis = true;
    bool ShowLegend = true;
    QString XLabel = QStringLiteral("Datum");
    QString YLabel = QStringLiteral("Value");
    int DecimalPlaces = 4;
    int smoothing = 3; // curve smoothing level, in kSmoothingRange

    bool operator==(const PlotOptions&) const = default;

    // Colour of series number n (1..maxseries); any other number throws std::out_of_range
    // rather than colour a series as another.
    TColor SeriesColorOf(int n) const { return SeriesColor.at(static_cast<std::size_t>(n - 1)); }
};

} // namespace plotwell
