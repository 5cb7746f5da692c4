#include "control/view_steps.h"

#include <algorithm>
#include <cmath>

namespace plotwell {

namespace {

// Steps are worked out in long double: spans of values near the largest double, and
// subnormal ones, stay finite and keep their precision on the way.
using Wide = long double;

// [low, high] held to a span between the limits and moved inside the whole range; none when
// the doubles cannot tell its ends apart.
std::optional<ViewSpan> HeldX(Wide low, Wide high, const ViewLimits& limits)
{
    const Wide wholeLow = limits.wholeX.low;
    const Wide wholeHigh = limits.wholeX.high;
    const Wide whole = wholeHigh - wholeLow;
    Wide span = std::min(std::max(high - low, static_cast<Wide>(limits.minSpanX)), whole);
    if (!(span > 0))
        return std::nullopt;
    const Wide mid = (low + high) / 2;
    low = std::clamp(mid - span / 2, wholeLow, wholeHigh - span);
    high = low + span;
    const ViewSpan held{static_cast<double>(low), static_cast<double>(std::min(high, wholeHigh))};
    if (!(held.low < held.high))
        return std::nullopt;
    return held;
}

// The view with X range `x`: no X range when it is the whole graph's.
PlotView WithX(PlotView view, const ViewSpan& x, const ViewLimits& limits)
{
    view.x = x == limits.wholeX ? std::nullopt : std::optional<ViewSpan>(x);
    return view;
}

} // namespace

std::optional<ViewLimits> LimitsOf(const DrawingResult& drawing, bool bareValues)
{
    if (!drawing.foundData || !drawing.panel || drawing.graphType == kPieGraph || drawing.geometry.maxlimitY == 0 ||
        drawing.geometry.xwid <= 0 || drawing.geometry.ywid <= 0)
        return std::nullopt;
    ViewLimits limits;
    limits.wholeX = {drawing.dataMinX, drawing.dataMaxX};
    limits.wholeY = {drawing.dataMinY, drawing.dataMaxY};
    const Wide whole = static_cast<Wide>(drawing.dataMaxX) - drawing.dataMinX;
    if (!(whole > 0) || !std::isfinite(static_cast<double>(whole / 2)))
        return std::nullopt;
    limits.minSpanX = bareValues ? 2.0 : static_cast<double>(whole * 1e-9L);
    if (bareValues && whole < 2)
        return std::nullopt;
    return limits;
}

ViewSpan ShownX(const PlotGeometry& g)
{
    return {g.minX, static_cast<double>(static_cast<Wide>(g.minX) + g.maxextentX)};
}

ViewSpan ShownY(const PlotGeometry& g)
{
    return {g.minY, static_cast<double>(static_cast<Wide>(g.minY) + g.maxextentY)};
}

double XAtColumn(const PlotGeometry& g, double column)
{
    return static_cast<double>(g.minX + (column - g.cornerx) / g.xwid * static_cast<Wide>(g.maxextentX));
}

double YAtRow(const PlotGeometry& g, double row)
{
    return static_cast<double>(g.minY + (g.bottomy - row) / g.ywid * static_cast<Wide>(g.maxextentY));
}

std::optional<PlotView> ZoomX(const PlotView& view, const PlotGeometry& shown, const ViewLimits& limits, double centre,
                              double factor)
{
    const ViewSpan x = ShownX(shown);
    const Wide c = std::clamp<Wide>(centre, x.low, x.high);
    const Wide low = c - (c - x.low) * factor;
    const Wide high = c + (x.high - c) * factor;
    // Held to the smallest span about the centre, not the middle, so the value stays put.
    Wide a = low;
    Wide b = high;
    if (b - a < limits.minSpanX) {
        const Wide share = x.high > x.low ? (c - x.low) / (static_cast<Wide>(x.high) - x.low) : 0.5L;
        a = c - limits.minSpanX * share;
        b = a + limits.minSpanX;
    }
    const std::optional<ViewSpan> held = HeldX(a, b, limits);
    if (!held)
        return std::nullopt;
    return WithX(view, *held, limits);
}

std::optional<PlotView> ZoomY(const PlotView& view, const PlotGeometry& shown, const ViewLimits& limits, double centre,
                              double factor)
{
    const ViewSpan y = ShownY(shown);
    const Wide c = std::clamp<Wide>(centre, y.low, y.high);
    const Wide low = c - (c - y.low) * factor;
    const Wide high = c + (y.high - c) * factor;
    PlotView next = WithX(view, ShownX(shown), limits);
    if (low <= limits.wholeY.low && high >= limits.wholeY.high) {
        next.y.reset();
        return next;
    }
    const ViewSpan held{static_cast<double>(std::max<Wide>(low, -HUGE_VAL)), static_cast<double>(high)};
    if (!(held.low < held.high) || !std::isfinite(held.low) || !std::isfinite(held.high) ||
        (high - low) < (static_cast<Wide>(limits.wholeY.high) - limits.wholeY.low) * 1e-9L)
        return std::nullopt;
    next.y = held;
    return next;
}

std::optional<PlotView> PanX(const PlotView& view, const PlotGeometry& shown, const ViewLimits& limits, double delta)
{
    const ViewSpan x = ShownX(shown);
    const Wide span = static_cast<Wide>(x.high) - x.low;
    const Wide low = std::clamp<Wide>(x.low + static_cast<Wide>(delta), limits.wholeX.low,
                                      static_cast<Wide>(limits.wholeX.high) - span);
    const std::optional<ViewSpan> held = HeldX(low, low + span, limits);
    if (!held)
        return std::nullopt;
    return WithX(view, *held, limits);
}

std::optional<PlotView> ZoomToBox(const PlotGeometry& shown, const ViewLimits& limits, QPoint a, QPoint b)
{
    const auto column = [&](int c) { return std::clamp(c, shown.cornerx, shown.cornerx + shown.xwid); };
    const auto row = [&](int r) { return std::clamp(r, shown.bottomy - shown.ywid, shown.bottomy); };
    const int left = column(std::min(a.x(), b.x()));
    const int right = column(std::max(a.x(), b.x()));
    const int top = row(std::min(a.y(), b.y()));
    const int bottom = row(std::max(a.y(), b.y()));
    if (right <= left || bottom <= top)
        return std::nullopt;
    const Wide low = XAtColumn(shown, left);
    const Wide high = XAtColumn(shown, right);
    Wide lo = low;
    Wide hi = high;
    if (hi - lo < limits.minSpanX) {
        const Wide mid = (lo + hi) / 2;
        lo = mid - limits.minSpanX / 2.0L;
        hi = mid + limits.minSpanX / 2.0L;
    }
    const std::optional<ViewSpan> x = HeldX(lo, hi, limits);
    const ViewSpan y{YAtRow(shown, bottom), YAtRow(shown, top)};
    if (!x || !(y.low < y.high))
        return std::nullopt;
    PlotView next;
    next.x = *x;
    next.y = y;
    return next;
}

PlotView KeptOverReload(const PlotView& view, const std::optional<ViewSpan>& wholeX)
{
    if (!view.Zoomed() || !wholeX)
        return {};
    if (!view.x)
        return view;
    const double low = std::max(view.x->low, wholeX->low);
    const double high = std::min(view.x->high, wholeX->high);
    if (!(low < high))
        return {};
    PlotView kept = view;
    kept.x = ViewSpan{low, high};
    if (kept.x == *wholeX)
        kept.x.reset();
    return kept;
}

} // namespace plotwell
