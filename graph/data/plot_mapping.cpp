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

void PlotMapping::MapPoints(const DataPoint* points, std::size_t count, int* columns, int* rows) const
{
    const double scaleX = x_.Scale();
    const double lowX = x_.ScaledLow();
    const double spanX = x_.ScaledExtent();
    const double scaleY = y_.Scale();
    const double lowY = y_.ScaledLow();
    const double spanY = y_.ScaledExtent();
    const double xwid = area_.xwid;
    const double ywid = area_.ywid;
    const double cornerx = area_.cornerx;
    const double bottomy = area_.bottomy;
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
        const __m128d a = _mm_loadu_pd(&points[i].x);     // x0 y0
        const __m128d b = _mm_loadu_pd(&points[i + 1].x); // x1 y1
        const __m128d x = _mm_unpacklo_pd(a, b);
        const __m128d y = _mm_unpackhi_pd(a, b);
        const __m128d fx = _mm_div_pd(_mm_sub_pd(_mm_mul_pd(x, _mm_set1_pd(scaleX)), _mm_set1_pd(lowX)), _mm_set1_pd(spanX));
        const __m128d fy = _mm_div_pd(_mm_sub_pd(_mm_mul_pd(y, _mm_set1_pd(scaleY)), _mm_set1_pd(lowY)), _mm_set1_pd(spanY));
        const __m128i c = toPixels(_mm_add_pd(_mm_mul_pd(fx, _mm_set1_pd(xwid)), _mm_set1_pd(cornerx)));
        const __m128i r = toPixels(_mm_sub_pd(_mm_set1_pd(bottomy), _mm_mul_pd(fy, _mm_set1_pd(ywid))));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(columns + i), c);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(rows + i), r);
    }
#endif
    for (; i < count; ++i) {
        columns[i] = PixelRound((points[i].x * scaleX - lowX) / spanX * xwid + cornerx);
        rows[i] = PixelRound(bottomy - (points[i].y * scaleY - lowY) / spanY * ywid);
    }
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
