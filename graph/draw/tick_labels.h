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

// The "0.00 e-00" form of large values: 12345678 gives "1.23 e07".
QString FormatTickExponent(double value);

} // namespace plotwell
