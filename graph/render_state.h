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
    double maxlimitY = 0;
    double minX = 0;
    double minY = 0;
    int maxpts = 0;
    bool isnegative = false;
    double FUltMinValue = 0;
    double FUltMaxValue = 0;
    std::array<bool, maxseries + 1> hasnegative{}; // indexed by series number 1..8
};

} // namespace plotwell
