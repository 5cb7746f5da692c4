#pragma once
// Rounding as the program uses it: to the nearest integer, halves to even.

#include <QtGlobal>

namespace plotwell {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4). Values beyond the 64-bit range saturate.
qint64 Round(double value);

// Rounds to `decimals` decimals: multiply by 10^decimals, Round, divide again.
double RoundTo(double value, int decimals);

} // namespace plotwell
