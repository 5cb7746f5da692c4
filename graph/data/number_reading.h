#pragma once
// Reading numbers in the data syntax: "." is the decimal point whatever the locale.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace plotwell {

namespace detail {
// Powers of ten that a double holds exactly; a product or quotient with one of them is
// correctly rounded.
inline constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
} // namespace detail

// The value of a whole word in the number syntax (leading spaces, optional sign, digits with
// an optional ".", optional exponent), or nothing. Words beyond the range of a double fail;
// values too small for it read as zero.
std::optional<double> ReadNumber(const char* data, std::size_t size);
std::optional<double> ReadNumber(const QString& word);

// The common plain forms ("12", "-3.25") at the start of `s`, read exactly without a library
// call: digits with at most one ".", no exponent, at most 15 digits. Returns the number of
// bytes read, or 0 when the text does not start in that form (the caller then falls back to
// ReadNumber on the whole word). The form ends at the first byte that cannot continue it.
// (Inline: it runs once for every value of a data file.)
inline std::size_t ReadPlainNumberPrefix(const char* s, std::size_t n, double& value)
{
    std::size_t i = 0;
    const bool negative = n > 0 && s[0] == '-';
    if (negative)
        ++i;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fraction = 0;
    bool point = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            ++digits;
            fraction += point;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0 || digits > 15 || (i < n && (s[i] == 'e' || s[i] == 'E' || s[i] == '.')))
        return 0;
    const double m = static_cast<double>(mantissa); // exact: below 2^53
    value = fraction ? m / detail::kExactPowers[fraction] : m;
    if (negative)
        value = -value;
    return i;
}

inline bool IsNumber(const QString& word)
{
    return ReadNumber(word).has_value();
}

} // namespace plotwell
