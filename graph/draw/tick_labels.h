#pragma once
// The tick values of an axis and their label texts.

#include <QString>

#include <vector>

namespace plotwell {

struct TickLabel
{
    QString text; // the value in the general number form
    double value; // the value read back from the text
};

// Round tick values between low and high, stepping by whole or half units of a power of ten
// chosen from the ends (0..100 gives 0, 10, ..., 100; 0..35 gives 0, 5, ..., 35). Nothing
// when low >= high. For ranges whose ends the decimal steps cannot tell apart (very large,
// very close or very small values) a 1-2-5 step is used instead; never more than a few dozen
// labels.
std::vector<TickLabel> TickLabels(int decimals, double low, double high);

// The cell of a tick label along its axis, in pixels: from `start` to just before `end`.
struct TickSpan
{
    int start;
    int end;
};

// The least room between the cells of two tick labels drawn.
inline constexpr int kTickLabelGap = 2;

// Which of the labels to draw, so that no two cells come closer than kTickLabelGap: every one
// when they keep apart; otherwise every k-th label, for the first k that keeps them apart, of
// 2, 5, 10, 20, 50, ... along a numeric axis (`values` the labels' values, evenly stepped:
// the labels kept are the round multiples of k steps) or 2, 4, 8, ... along a date axis
// (`values` empty: kept from the first label on). One label when no k keeps them apart.
std::vector<bool> SpacedTickLabels(const std::vector<TickSpan>& spans, const std::vector<double>& values);

// The "0.00 e-00" form of large values: 12345678 gives "1.23 e07".
QString FormatTickExponent(double value);

} // namespace plotwell
