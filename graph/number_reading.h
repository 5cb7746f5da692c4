#pragma once
// Reading numbers in the data syntax: "." is the decimal point whatever the locale.

#include <QString>

#include <cstddef>
#include <optional>

namespace plotwell {

// The value of a whole word in the number syntax (leading spaces, optional sign, digits with
// an optional ".", optional exponent), or nothing. Words beyond the range of a double fail;
// values too small for it read as zero.
std::optional<double> ReadNumber(const char* data, std::size_t size);
std::optional<double> ReadNumber(const QString& word);

// The common plain forms ("12", "-3.25") at the start of `s`, read exactly without a library
// call: digits with at most one ".", no exponent, at most 15 digits. Returns the number of
// bytes read, or 0 when the text does not start in that form (the caller then falls back to
// ReadNumber on the whole word). The form ends at the first byte that cannot continue it.
std::size_t ReadPlainNumberPrefix(const char* s, std::size_t n, double& value);

inline bool IsNumber(const QString& word)
{
    return ReadNumber(word).has_value();
}

} // namespace plotwell
