#pragma once
// PlotView: the part of a graph a drawing shows, an X range and a Y range. No range is the
// whole graph: the ranges the renderer finds for the displayed data.

#include <cmath>
#include <optional>

namespace plotwell {

// The values from `low` to `high` (low < high) along one axis.
struct ViewSpan
{
    double low = 0;
    double high = 0;
    // Finite ends, low below high: anything else is no range at all.
    bool Valid() const { return std::isfinite(low) && std::isfinite(high) && low < high; }
    bool operator==(const ViewSpan&) const = default;
};

struct PlotView
{
    // None: the whole graph's X range.
    std::optional<ViewSpan> x;
    // None: fitted to the points inside the X range by the whole graph's rules.
    std::optional<ViewSpan> y;

    bool Zoomed() const { return x.has_value() || y.has_value(); }
    // The view without its invalid ranges.
    PlotView Checked() const
    {
        PlotView checked = *this;
        if (checked.x && !checked.x->Valid())
            checked.x.reset();
        if (checked.y && !checked.y->Valid())
            checked.y.reset();
        return checked;
    }
    bool operator==(const PlotView&) const = default;
};

} // namespace plotwell
