#pragma once
// What the last drawing left behind: the plot geometry the pointer readout reads, and the
// options-panel effects the drawing asks for.

#include "graph/series_types.h"

#include <array>

namespace plotwell {

struct RenderState
{
    // Pixel geometry of the plot area.
    int bottomy = 0;
    int cornerx = 0;
    int cornery = 0;
    int xwid = 0;
    int ywid = 0;
    // Value geometry.
    double xjmp = 0;
    double maxextentX = 0;
    double maxextentY = 0;
    double maxlimitY = 0; // 0 until axes have been drawn: the readout is off
    double minX = 0;
    double minY = 0;
    int maxpts = 0;
    bool isnegative = false;
    double FUltMinValue = 0;
    double FUltMaxValue = 0;
    std::array<bool, maxseries + 1> hasnegative{}; // indexed by series number 1..8

    // The surface the last drawing went onto (client width and height).
    int surfaceWidth = 0;
    int surfaceHeight = 0;

    // Options panel as the last drawing wants it.
    bool pieEnabled = true;         // `pierb`: no negative values displayed
    bool stackedEnabled = true;     // `stackedbarrb`: two series or more, none negative
    bool drawAreaEnabled = true;    // `DrawAreaCheckbox`: a line or curve graph
    bool displaySeriesShown = true; // false hides `displayserieslabel` and box 1 (a lone series)
    bool pieNegative = false;       // the last pie met a displayed series with negative values
};

} // namespace plotwell
