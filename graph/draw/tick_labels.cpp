#include "graph/draw/tick_labels.h"

#include "core/locale_facts.h"
#include "core/number_format.h"
#include "core/rounding.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace plotwell {

namespace {

// Beyond this the half steps of the decimal walk are no longer exact.
constexpr double kExactSteps = 1125899906842624.0; // 2^50
constexpr int kMaxSteps = 64;

// Whole or half steps of a power of ten, from the rounded ends. False when the doubles cannot
// carry these steps at this magnitude.
bool DecimalSteps(int decimals, double low, double high, std::vector<double>& values)
{
    const double s = std::pow(10.0, decimals);
    double lo = RoundTo(low, decimals) * s;
    double hi = RoundTo(high, decimals) * s;
    double mult = 1;
    double span = hi - lo;
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(span))
        return false;
    while (span > 15) {
        lo /= 10;
        hi /= 10;
        mult *= 10;
        span = hi - lo;
    }
    if (std::fabs(lo) >= kExactSteps || std::fabs(hi) >= kExactSteps)
        return false;
    const bool whole = span > 7;
    for (int i = 0; hi + 1 > lo && i < kMaxSteps; ++i) {
        const double v = (whole ? static_cast<double>(Round(lo)) : RoundTo(lo, 1)) * mult / s;
        if (low <= v && v <= high)
            values.push_back(v);
        lo += whole ? 1.0 : 0.5;
    }
    return values.size() >= 2;
}

// Steps of 1, 2 or 5 times a power of ten, about eight of them across the range; the two ends
// when even these cannot be told apart.
std::vector<double> NiceSteps(double low, double high)
{
    std::vector<double> values;
    const double halfSpan = high / 2 - low / 2; // never overflows
    const double rough = halfSpan / 4;
    if (rough > 0 && std::isfinite(rough)) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
        double step = 10 * magnitude;
        for (const double m : {1.0, 2.0, 5.0}) {
            if (m * magnitude >= rough) {
                step = m * magnitude;
                break;
            }
        }
        const double first = std::ceil(low / step) * step;
        for (int k = 0; k < kMaxSteps && std::isfinite(first) && step > 0; ++k) {
            const double v = first + k * step;
            if (!(v <= high))
                break;
            if (v >= low && (values.empty() || v != values.back()))
                values.push_back(v);
        }
    }
    if (values.size() < 2)
        values = {low, high};
    return values;
}

int SpanGap(const TickSpan& a, const TickSpan& b)
{
    return std::max(a.start - b.end, b.start - a.end);
}

// Every `every`-th label from `first` keeps its neighbours at a distance.
bool KeepsApart(const std::vector<TickSpan>& spans, std::size_t first, std::size_t every)
{
    for (std::size_t i = first; i + every < spans.size(); i += every)
        if (SpanGap(spans[i], spans[i + every]) < kTickLabelGap)
            return false;
    return true;
}

// The first label whose value is a whole number of `every` steps, or the first label.
std::size_t RoundLabel(const std::vector<double>& values, std::size_t every)
{
    if (values.size() < 2)
        return 0;
    const double step = values[1] - values[0];
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    const auto k = static_cast<long long>(every);
    for (std::size_t i = 0; i < values.size() && i < every; ++i) {
        const double steps = std::round(values[i] / step);
        if (std::fabs(steps) < 9e15 && ((static_cast<long long>(steps) % k) + k) % k == 0)
            return i;
    }
    return 0;
}

} // namespace

std::vector<bool> SpacedTickLabels(const std::vector<TickSpan>& spans, const std::vector<double>& values)
{
    const std::size_t count = spans.size();
    std::vector<bool> keep(count, true);
    if (KeepsApart(spans, 0, 1))
        return keep;
    const bool dates = values.empty();
    std::size_t first = 0;
    std::size_t every = 1;
    // k = 2, 4, 8, ... or 2, 5, 10, 20, 50, ...
    std::size_t decade = 1;
    for (std::size_t m = 1;; ++m) {
        const std::size_t k = dates ? std::size_t(1) << m : decade * (m % 3 == 1 ? 2 : m % 3 == 2 ? 5 : 10);
        if (!dates && m % 3 == 0)
            decade *= 10;
        if (k >= count)
            break;
        const std::size_t from = dates ? 0 : RoundLabel(values, k);
        if (KeepsApart(spans, from, k)) {
            first = from;
            every = k;
            break;
        }
    }
    if (every == 1) { // no k keeps them apart: the round one alone
        first = dates ? 0 : RoundLabel(values, count);
        every = count;
    }
    for (std::size_t i = 0; i < count; ++i)
        keep[i] = i >= first && (i - first) % every == 0;
    return keep;
}

std::vector<TickLabel> TickLabels(int decimals, double low, double high)
{
    if (!(low < high) || !std::isfinite(low) || !std::isfinite(high))
        return {};
    std::vector<double> values;
    if (!DecimalSteps(decimals, low, high, values))
        values = NiceSteps(low, high);
    std::vector<TickLabel> labels;
    labels.reserve(values.size());
    const QLocale locale;
    for (const double v : values) {
        TickLabel label{FormatGeneral(v), v};
        bool ok = false;
        const double back = locale.toDouble(label.text, &ok);
        if (ok)
            label.value = back;
        labels.push_back(label);
    }
    return labels;
}

QString FormatTickExponent(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2e", value); // "-1.23e+07"
    QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    const int exponent = std::atoi(buffer + e + 1);
    QString mantissa = text.left(e);
    mantissa.replace(QLatin1Char('.'), DecimalSeparator());
    const QString digits = QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
    return mantissa + QStringLiteral(" e") + (exponent < 0 ? QStringLiteral("-") : QString()) + digits;
}

} // namespace plotwell
