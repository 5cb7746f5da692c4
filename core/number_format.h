#pragma once
// The general number form: how the program writes a double wherever no explicit format is asked for.

#include <QString>

namespace plotwell {

// Up to 15 significant digits, trailing zeros dropped; fixed notation when the decimal
// exponent e (value = 0.d1d2... x 10^e) lies in -3..15, otherwise mantissa "E" exponent
// ("1E-5", "1E15"). Uses the decimal separator of the default locale.
QString FormatGeneral(double value);

// Same, with an explicit decimal separator (for callers that pin one).
QString FormatGeneral(double value, QChar decimalSeparator);

// An integer with the default locale's group separators ("1,234").
QString FormatCount(qint64 value);

} // namespace plotwell
