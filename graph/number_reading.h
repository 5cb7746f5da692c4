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

inline bool IsNumber(const QString& word)
{
    return ReadNumber(word).has_value();
}

} // namespace plotwell
