#pragma once
// The drawing options of a graph, with their defaults; the renderer reads them.

#include "core/color.h"

#include <QString>

#include <array>

namespace plotwell {

struct PlotOptions
{
    TColor BackgroundColor = 0x00F8FFFF; // pale ivory (255, 255, 248)
    TColor AxisColor = 0x00000000;
    TColor GridColor = 0x00808080;
    TColor TitleColor = 0x00000000;
    std::array<TColor, 8> SeriesColor = {
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
    int smoothing = 3; // curve smoothing level 1..6

    bool operator==(const PlotOptions&) const = default;

    // Colour of series number n (1..8).
    TColor SeriesColorOf(int n) const { return SeriesColor[static_cast<std::size_t>((n - 1) & 7)]; }
};

} // namespace plotwell
