#include "graph/data/plot_mapping.h"


#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plotwell {

PlotArea ComputePlotArea(int width, int height)
{
    PlotArea area;
    area.cornerx = width / 10;
    area.bottomy = (height / 40) * 37;
    area.xwid = (width / 10) * 8;
    area.ywid = (height / 11) * 8;
    return area;
}

AxisScale::AxisScale(double low, double high) : low_(low), high_(high)
{
    const double extent = high - low;
    if (extent == 0) {
        extent_ = 1;
        high_ = low + 1;
    } else if (std::isinf(extent)) {
        extent_ = std::numeric_limits<double>::max();
    } else {
        extent_ = extent;
    }
    // Powers of two scale exactly: a scaled span can neither overflow nor lose the digits of
    // subnormal values. (Any power of two gives the same fractions where nothing is subnormal.)
    const double largest = std::max(std::fabs(low_), std::fabs(high_));
    scale_ = largest > 0 && std::isfinite(largest) ? std::ldexp(1.0, std::min(-std::ilogb(largest), 1000)) : 0.5;
    scaledLow_ = low_ * scale_;
    scaledExtent_ = std::isinf(extent) ? high_ * scale_ - scaledLow_ : extent_ * scale_;
    if (!(scaledExtent_ > 0)) // a span the scaling cannot hold apart
        scaledExtent_ = std::numeric_limits<double>::denorm_min();
}

namespace {

// The numbers MapPoints works with, so both layouts of points share one body.
struct MapConstants
{
    double scaleX, lowX, spanX, scaleY, lowY, spanY, xwid, ywid, cornerx, bottomy;
};

// `count` points, point i's X from x(i) and Y from y(i); with SSE2 two at a time, loaded by
// pair(i) as (x0, x1) and (y0, y1).
template <class X, class Y, class Pair>
void MapEach(const MapConstants& k, std::size_t count, X x, Y y, [[maybe_unused]] Pair pair, int* columns, int* rows)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    // Two points at a time, with the same operations in the same order as Column and Row;
    // the conversion rounds halves to even, as PixelRound does.
    const __m128d low = _mm_set1_pd(-kPixelLimit);
    const __m128d high = _mm_set1_pd(kPixelLimit);
    const auto toPixels = [&](__m128d v) {
        v = _mm_and_pd(v, _mm_cmpeq_pd(v, v)); // NaN -> 0
        return _mm_cvtpd_epi32(_mm_min_pd(_mm_max_pd(v, low), high));
    };
    for (; i + 2 <= count; i += 2) {
        __m128d xs;
        __m128d ys;
        pair(i, xs, ys);
        const __m128d fx =
            _mm_div_pd(_mm_sub_pd(_mm_mul_pd(xs, _mm_set1_pd(k.scaleX)), _mm_set1_pd(k.lowX)), _mm_set1_pd(k.spanX));
        const __m128d fy =
            _mm_div_pd(_mm_sub_pd(_mm_mul_pd(ys, _mm_set1_pd(k.scaleY)), _mm_set1_pd(k.lowY)), _mm_set1_pd(k.spanY));
        const __m128i c = toPixels(_mm_add_pd(_mm_mul_pd(fx, _mm_set1_pd(k.xwid)), _mm_set1_pd(k.cornerx)));
        const __m128i r = toPixels(_mm_sub_pd(_mm_set1_pd(k.bottomy), _mm_mul_pd(fy, _mm_set1_pd(k.ywid))));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(columns + i), c);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(rows + i), r);
    }
#endif
    for (; i < count; ++i) {
        columns[i] = PixelRound((x(i) * k.scaleX - k.lowX) / k.spanX * k.xwid + k.cornerx);
        rows[i] = PixelRound(k.bottomy - (y(i) * k.scaleY - k.lowY) / k.spanY * k.ywid);
    }
}

} // namespace

void PlotMapping::MapPoints(const DataPoint* points, std::size_t count, int* columns, int* rows) const
{
    const MapConstants k{x_.Scale(), x_.ScaledLow(), x_.ScaledExtent(), y_.Scale(), y_.ScaledLow(), y_.ScaledExtent(),
                         static_cast<double>(area_.xwid), static_cast<double>(area_.ywid),
                         static_cast<double>(area_.cornerx), static_cast<double>(area_.bottomy)};
    MapEach(
        k, count, [&](std::size_t i) { return points[i].x; }, [&](std::size_t i) { return points[i].y; },
        [&]([[maybe_unused]] std::size_t i, [[maybe_unused]] auto& xs, [[maybe_unused]] auto& ys) {
#if defined(__SSE2__)
            const __m128d a = _mm_loadu_pd(&points[i].x);     // x0 y0
            const __m128d b = _mm_loadu_pd(&points[i + 1].x); // x1 y1
            xs = _mm_unpacklo_pd(a, b);
            ys = _mm_unpackhi_pd(a, b);
#endif
        },
        columns, rows);
}

void PlotMapping::MapPoints(const PointList& points, std::size_t first, std::size_t count, int* columns,
                            int* rows) const
{
    if (!points.IsCompact()) {
        MapPoints(reinterpret_cast<const DataPoint*>(points.Storage()) + first, count, columns, rows);
        return;
    }
    const MapConstants k{x_.Scale(), x_.ScaledLow(), x_.ScaledExtent(), y_.Scale(), y_.ScaledLow(), y_.ScaledExtent(),
                         static_cast<double>(area_.xwid), static_cast<double>(area_.ywid),
                         static_cast<double>(area_.cornerx), static_cast<double>(area_.bottomy)};
    const double* ys = points.Storage() + first;
    MapEach(
        k, count, [&](std::size_t i) { return static_cast<double>(first + i + 1); }, [&](std::size_t i) { return ys[i]; },
        [&]([[maybe_unused]] std::size_t i, [[maybe_unused]] auto& xs, [[maybe_unused]] auto& y2) {
#if defined(__SSE2__)
            // Positions are whole numbers, exact in a double.
            xs = _mm_set_pd(static_cast<double>(first + i + 2), static_cast<double>(first + i + 1));
            y2 = _mm_loadu_pd(ys + i);
#endif
        },
        columns, rows);
}

double MaxLimitY(double maxY)
{
    double m = std::fabs(maxY);
    if (!(m > 0) || !std::isfinite(m))
        return 1;
    double f = 1;
    int c = 1;
    if (m > 10) {
        f = 0.1;
        c = 0;
    } else if (m < 1) {
        f = 10;
        c = 0;
    }
    for (int i = 0; (m > 10 || m < 1) && i < 2000; ++i) {
        m *= f;
        ++c;
    }
    const double d = std::trunc(m);
    const double r = m - d;
    const double g = (d < 5 && r < 0.7) ? 0.5 : 1.0;
    double limit = d + g;
    for (int i = 0; i < c; ++i)
        limit /= f;
    return limit;
}

} // namespace plotwell
