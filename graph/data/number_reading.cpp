#include "graph/data/number_reading.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace plotwell {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Full syntax check and conversion, for words the fast path did not settle.
std::optional<double> ReadSlow(const char* s, std::size_t n)
{
    std::size_t i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i >= n)
        return std::nullopt; // nothing after the spaces and the sign
    const std::size_t mantissa = i;
    std::size_t intDigits = 0;
    std::size_t fracDigits = 0;
    while (i < n && IsDigit(s[i])) {
        ++i;
        ++intDigits;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i])) {
            ++i;
            ++fracDigits;
        }
    }
    const std::size_t mantissaEnd = i;
    long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < n && IsDigit(s[i])) {
            if (exponent < 1000000)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;
    if (intDigits + fracDigits == 0)
        return negative ? -0.0 : 0.0; // "." and "E5" read as zero

    // from_chars takes neither a "+" nor an empty mantissa run before "e" ("5.e3" is fine).
    std::string text;
    if (negative)
        text += '-';
    text.append(s + mantissa, mantissaEnd - mantissa);
    text += 'e';
    text += std::to_string(exponent);
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Decide between overflow (not a number) and underflow (zero) by the decimal
        // magnitude of the first significant digit.
        long magnitude = exponent;
        std::size_t k = mantissa;
        std::size_t leadingIntZeros = 0;
        while (k < mantissa + intDigits && s[k] == '0') {
            ++k;
            ++leadingIntZeros;
        }
        if (leadingIntZeros < intDigits) {
            magnitude += static_cast<long>(intDigits - leadingIntZeros);
        } else {
            std::size_t f = mantissa + intDigits + 1;
            long zeros = 0;
            while (f < mantissaEnd && s[f] == '0') {
                ++f;
                ++zeros;
            }
            if (f == mantissaEnd)
                return negative ? -0.0 : 0.0; // all digits zero
            magnitude -= zeros;
        }
        if (magnitude > 0)
            return std::nullopt;
        return negative ? -0.0 : 0.0;
    }
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> ReadNumber(const char* s, std::size_t n)
{
    if (n == 0)
        return std::nullopt;
    // Leading spaces are allowed, as in "(1, 2.5)"; the plain reading takes the rest.
    std::size_t start = 0;
    while (start < n && s[start] == ' ')
        ++start;
    double plain = 0;
    if (start < n && ReadPlainNumberPrefix(s + start, n - start, plain) == n - start)
        return plain;
    // Fast path: the common plain forms ("12", "-3.5", ".5", "1e3") in one from_chars call.
    const char first = s[0] == '-' && n > 1 ? s[1] : s[0];
    if (IsDigit(first) || first == '.') {
        double value = 0;
        const auto r = std::from_chars(s, s + n, value);
        if (r.ec == std::errc() && r.ptr == s + n)
            return value;
    }
    return ReadSlow(s, n);
}

std::optional<double> ReadNumber(const QString& word)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(word.size()));
    for (const QChar c : word) {
        if (c.unicode() >= 128)
            return std::nullopt;
        bytes += static_cast<char>(c.unicode());
    }
    return ReadNumber(bytes.data(), bytes.size());
}

} // namespace plotwell
